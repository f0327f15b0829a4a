#pragma once

#include <QString>
#include <QWidget>

class QPrinter;

//! Viewing widget of the map tab: C-, B- and D-scans of the open map with the A-scan
//! under the cursor, scales, colour scale, brightness and read-outs.
class CMapScans : public QWidget
{
    Q_OBJECT

public:
    explicit CMapScans(QWidget* parent = nullptr);
    ~CMapScans() override;

    //! The opening sequence; ends with exactly one mapDataLoaded emission.
    void openMap(const QString& strConfigPath, const QString& strFolder);
    void clearMap();
    void retranslate();

    //! "Map Name: " and the map's name; empty when no map is loaded.
    QString titleText() const;
    QString configPath() const;

    void setLimitsMode(bool bOn);
    void setMeasuringMode(bool bOn);
    void setScanDragMode(bool bOn);
    void showSettingsWindow();
    //! Removes the stored viewing settings of the map in strFolder; true when it did so.
    bool resetViewSettings(const QString& strFolder);
    //! Offers to store changed viewing settings and comments into strFolder.
    void askToSave(const QString& strFolder);
    //! Moves the brightness spin box by iSteps steps.
    void stepBrightness(int iSteps);

    bool printMapReport(QPrinter* pPrinter, const QString& strLogoPath);

signals:
    void scansViewingModeChanged(bool checked);
    void measuringModeChanged(bool checked);
    void scanDraggingPossible(bool bEnabled);
    void mapDataLoaded(bool bLoaded, bool bDataSaved);
};
