#pragma once

#include "app/datawindow/datasaver.h"
#include "ascan/configsettings.h"
#include "map/mapconfig.h"
#include "map/mapdata.h"
#include "map/mapreport.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewgeometry.h"
#include "map/mapviewstate.h"
#include "map/saftsettings.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPrinter;
class QScrollBar;
class QScaleFrame;
class MySpinBox;
class CColorScale;
class CMapSettings;
class CScanogrammFrame;
class CVectorDrawFrame;
class CWgtDisplaysDiff;
class CWgtDisplaysStd;
class CWgtScrollBars;
class CWgtSliderControl;
class ScanImage;
class MapStepReporter;

//! Viewing widget of the map tab: C-, B- and D-scans of the open map with the A-scan
//! under the cursor, scales, colour scale, brightness and read-outs.
class CMapScans : public QWidget, public Vantar::MapChangesWriter
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
    QString folder() const { return m_strFolder; }
    bool isMapLoaded() const { return m_geometry.isLoaded() && m_data.hasRawVolume(); }

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

    // Changed stored files, for saving a copy of the map.
    int pendingChanges() const override;
    bool writeChanges(const QString& strFolder, int& iWritten) override;
    void markChangesSaved() override;

    //! Headless use: warnings are kept in lastMessage() instead of being shown in boxes.
    void setMessagesShown(bool bShown) { m_bShowMessages = bShown; }
    QString lastMessage() const { return m_strLastMessage; }

    //! Fills the viewing state from the view and MapData, before it is stored; the settings
    //! window's edited SAFT parameters become the view's when they differ.
    MapViewState collectViewingState();
    const MapViewState& viewingState() const { return m_state; }
    const SAFTsettings& saftSettings() const { return m_saft; }
    const ConfigSettings& mapSettings() const { return m_settings; }
    QString comments() const { return m_stored.comments(); }
    bool commentsChanged() const { return m_stored.commentsChanged(); }
    MapStoredFiles& storedFiles() { return m_stored; }
    const MapData& mapData() const { return m_data; }
    const MapViewGeometry& viewGeometry() const { return m_geometry; }
    //! Slices in volume points.
    int sliceX() const { return m_sliceX; }
    int sliceY() const { return m_sliceY; }
    int sliceZ() const { return m_sliceZ; }
    bool isLimitsMode() const { return m_bLimitsMode; }
    bool isMeasuringMode() const { return m_bMeasuringMode; }

    //! The composed clipboard images of the three scans and the A-scan.
    QImage composedCScan() const;
    QImage composedBScan() const;
    QImage composedDScan() const;
    QImage composedAScan() const;

    //! Read-out texts as the map report shows them: X, Y, Z, amplitude.
    QList<QStringList> readoutTexts() const;
    //! Everything the map report shows of the open map.
    MapReportData reportData(const QString& strLogoPath) const;

signals:
    void scansViewingModeChanged(bool checked);
    void measuringModeChanged(bool checked);
    void scanDraggingPossible(bool bEnabled);
    void mapDataLoaded(bool bLoaded, bool bDataSaved);

public slots:
    void slot_executeMapProcessing(SAFTsettings strSaftSet);
    void slot_viewingModeChanged(EScanProcessing eViewingMode);
    void slot_commentsChanged(QString s);
    void slot_AscanCursorPositionChanged(QPoint curPos);
    void slot_BscanCursorPositionChanged(QPoint curPos);
    void slot_CscanCursorPositionChanged(QPoint curPos);
    void slot_DscanCursorPositionChanged(QPoint curPos);
    void slot_BscanRectSelectBegun(QPoint p);
    void slot_CscanRectSelectBegun(QPoint p);
    void slot_DscanRectSelectBegun(QPoint p);
    void slot_BscanRectangleSelected(QPoint p1, QPoint p2);
    void slot_CscanRectangleSelected(QPoint p1, QPoint p2);
    void slot_DscanRectangleSelected(QPoint p1, QPoint p2);
    void slot_BscanRectangleBorderChanged(QPoint p1, QPoint p2);
    void slot_CscanRectangleBorderChanged(QPoint p1, QPoint p2);
    void slot_DscanRectangleBorderChanged(QPoint p1, QPoint p2);
    void slot_onMouseWheelScrolled(int iSteps);
    void slot_sliceChanged_Z(int iValue);
    void slot_sliceChanged_Y(int iValue);
    void slot_sliceChanged_X(int iValue);
    void slot_minLayerChanged_Z(int iMin);
    void slot_maxLayerChanged_Z(int iMax);
    void slot_layerLimitsChanged_Z(int iMin, int iMax);
    void slot_minLayerChanged_Y(int iMin);
    void slot_maxLayerChanged_Y(int iMax);
    void slot_layerLimitsChanged_Y(int iMin, int iMax);
    void slot_minLayerChanged_X(int iMin);
    void slot_maxLayerChanged_X(int iMax);
    void slot_layerLimitsChanged_X(int iMin, int iMax);
    void slot_BScanOffsetChanged(QPoint p);
    void slot_CScanOffsetChanged(QPoint p);
    void slot_DScanOffsetChanged(QPoint p);
    void slot_XscrollingChanged(int iPosition);
    void slot_YscrollingChanged(int iPosition);
    void slot_ZscrollingChanged(int iPosition);
    void slot_clearLCDpanels();
    void slot_setScanThreshold(int iValue);
    void slot_setScanBrightness(int iValue);
    void slot_copyCScanToClipboard();
    void slot_copyBScanToClipboard();
    void slot_copyDScanToClipboard();
    void slot_copyAScanToClipboard();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Frame { C, B, D };

    //! Runs an opening or processing sequence with the progress dialogs of its steps.
    bool runSequence(const std::function<bool(MapStepReporter*)>& sequence);
    void warn(const QString& strText);
    void createChildren();
    void setupScales();
    void doLayout();
    void createReadouts();
    void createSliderGroup();
    void updateSliderRanges();
    void updateSliceBars();

    //! Rebuilds the volume, prepares and reconstructs by the current settings; false when the
    //! volume could not be built.
    void applyGeometryToImages();
    void updateScales();
    void updateScale(QScaleFrame* scale, const MapAxisScale& s);
    void updateScrollBars();
    void resetZoom();
    void emitDragPossible();
    void renderImages();
    void clearImages();
    void updateAScan();
    void updateAmplitudeReadout();
    void placeCursor(int x, int y, int z);
    void restoreCursorsFromSlices();
    void updateCursorPixels();
    void updateRectanglesFromIndices();
    void updateMinimumRectangles();
    void repaintFrames();
    void putCursorOnFirstPosition();
    void showMeasurement(bool bX, bool bY, bool bZ);
    MapBox currentBox() const;
    void rectSelectBegun(Frame eFrame, QPoint p);
    void rectangleSelected(Frame eFrame, QPoint p1, QPoint p2);
    void rectangleBorderChanged(Frame eFrame, QPoint p1, QPoint p2);
    void offsetDragged(Frame eFrame, QPoint p);
    void layerLimitsChanged(int iAxis, int iMin, int iMax);
    void sliceChanged(int iAxis, int iValue);
    void applySavedState(const MapViewState& state);
    QImage composed(const CScanogrammFrame* frame, const QScaleFrame* hor, const QScaleFrame* ver) const;
    int signalTypeAmplitudeMin() const;
    void setAScanAxes();

    // Children.
    CScanogrammFrame* m_pFrameC = nullptr;
    CScanogrammFrame* m_pFrameB = nullptr;
    CScanogrammFrame* m_pFrameD = nullptr;
    CVectorDrawFrame* m_pFrameA = nullptr;
    QScaleFrame* m_pCHor = nullptr;
    QScaleFrame* m_pCVer = nullptr;
    QScaleFrame* m_pBHor = nullptr;
    QScaleFrame* m_pBVer = nullptr;
    QScaleFrame* m_pDHor = nullptr;
    QScaleFrame* m_pDVer = nullptr;
    QScaleFrame* m_pAVer = nullptr;
    CColorScale* m_pColourScale = nullptr;
    QWidget* m_pWgtLcd = nullptr;
    QLabel* m_pLblBrightness = nullptr;
    MySpinBox* m_pSpbBrightness = nullptr;
    QLabel* m_pLblBrightnessUnits = nullptr;
    QWidget* m_pWgtSlidebars = nullptr;
    QScrollBar* m_pScrollX = nullptr;
    QScrollBar* m_pScrollY = nullptr;
    QScrollBar* m_pScrollZ = nullptr;
    CWgtDisplaysStd* m_pDisplaysStd = nullptr;
    CWgtDisplaysDiff* m_pDisplaysDiff = nullptr;
    CWgtScrollBars* m_pScrollBars = nullptr;
    CWgtSliderControl* m_pSliderControl = nullptr;
    QPointer<CMapSettings> m_pSettingsWindow;

    std::unique_ptr<ScanImage> m_imageC;
    std::unique_ptr<ScanImage> m_imageB;
    std::unique_ptr<ScanImage> m_imageD;

    // The map.
    MapData m_data;
    MapConfig m_config;
    ConfigSettings m_settings;
    SAFTsettings m_saft;
    SAFTsettings m_openedSaft;
    MapStoredFiles m_stored;
    MapViewState m_state;
    MapViewGeometry m_geometry;
    QString m_strConfigPath;
    QString m_strFolder;
    QString m_strMapName;
    QString m_strDate;
    int m_firstPositionX = 0;
    int m_firstPositionY = 0;
    int m_sampleWindowFirst = 0;
    int m_sampleWindowCount = Vantar::kMapSampleCount;
    std::vector<qint16> m_ascan;

    // View state.
    int m_sliceX = 0;
    int m_sliceY = 0;
    int m_sliceZ = 0;
    int m_positionX = 1;
    int m_positionY = 1;
    bool m_bLimitsMode = false;
    bool m_bMeasuringMode = false;
    bool m_bDragMode = false;
    bool m_bShowMessages = true;
    QString m_strLastMessage;
};
