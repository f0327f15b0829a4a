#include "ascan/scanwgt.h"

ScanWgt::ScanWgt(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ScanWgt"));
    setMinimumSize(1000, 640);
}

ScanWgt::~ScanWgt() = default;

void ScanWgt::loadFolder(const QString& strCurrentFile, const QString& strFolder)
{
    Q_UNUSED(strCurrentFile);
    Q_UNUSED(strFolder);
}

void ScanWgt::clear() {}

void ScanWgt::retranslate() {}

bool ScanWgt::confirmDiscardEdits()
{
    return true;
}

bool ScanWgt::printAScanReports(QPrinter* pPrinter, const QString& strLogoPath)
{
    Q_UNUSED(pPrinter);
    Q_UNUSED(strLogoPath);
    return false;
}
