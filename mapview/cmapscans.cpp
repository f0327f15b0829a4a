#include "mapview/cmapscans.h"

CMapScans::CMapScans(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CMapScans"));
    setMinimumSize(1000, 640);
}

CMapScans::~CMapScans() = default;

void CMapScans::openMap(const QString& strConfigPath, const QString& strFolder)
{
    Q_UNUSED(strConfigPath);
    Q_UNUSED(strFolder);
    emit mapDataLoaded(false, false);
}

void CMapScans::clearMap() {}

void CMapScans::retranslate() {}

QString CMapScans::titleText() const
{
    return QString();
}

QString CMapScans::configPath() const
{
    return QString();
}

void CMapScans::setLimitsMode(bool bOn)
{
    Q_UNUSED(bOn);
}

void CMapScans::setMeasuringMode(bool bOn)
{
    Q_UNUSED(bOn);
}

void CMapScans::setScanDragMode(bool bOn)
{
    Q_UNUSED(bOn);
}

void CMapScans::showSettingsWindow() {}

bool CMapScans::resetViewSettings(const QString& strFolder)
{
    Q_UNUSED(strFolder);
    return false;
}

void CMapScans::askToSave(const QString& strFolder)
{
    Q_UNUSED(strFolder);
}

void CMapScans::stepBrightness(int iSteps)
{
    Q_UNUSED(iSteps);
}

bool CMapScans::printMapReport(QPrinter* pPrinter, const QString& strLogoPath)
{
    Q_UNUSED(pPrinter);
    Q_UNUSED(strLogoPath);
    return false;
}
