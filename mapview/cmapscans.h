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
#include "mapview/mapchangeskeeper.h"
#include "mapview/scanpane.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPrinter;
class QScrollBar;
class QToolButton;
class CIndicationsWindow;
class QScaleFrame;
class MySpinBox;
class CColorScale;
class CMapSettings;
class CVectorDrawFrame;
class CWgtDisplaysDiff;
class CWgtDisplaysStd;
class CWgtScrollBars;
class CWgtSliderControl;
class MapStepReporter;

//! Viewing widget of the map tab: C-, B- and D-scans of the open map with the A-scan
//! under the cursor, scales, colour scale, brightness and read-outs.
class CMapScans : public QWidget, public Vantar::MapChangesWriter
{
    Q_OBJECT

public:
    //! The three scans, in the order of m_panes.
    enum class Scan { C, B, D };

    explicit CMapScans(QWidget* parent = nullptr);
    ~CMapScans() override;

    //! The opening sequence; ends with exactly one mapDataLoaded emission.
    void openMap(const QString& strConfigPath, const QString& strFolder);
    void clearMap();
    void retranslate();

    //! "Map Name: " and the map's name; empty when no map is loaded.
    QString titleText() const;
    QString configPath() const { return m_strConfigPath; }
    QString folder() const { return m_strFolder; }
    bool isMapLoaded() const { return m_bLoaded && !m_bBusy; }

    void setLimitsMode(bool bOn);
    void setMeasuringMode(bool bOn);
    void setScanDragMode(bool bOn);
    void showSettingsWindow();
    //! Opens the indications window (made on first use).
    void showIndicationsWindow();
    CIndicationsWindow* indicationsWindow() const;
    const std::vector<MapIndication>& indications() const { return m_stored.indications(); }
    //! Removes the stored viewing settings of the map in strFolder; true when it did so.
    bool resetViewSettings(const QString& strFolder);
    //! Offers to store changed viewing settings and comments into strFolder.
    void askToSave(const QString& strFolder) { m_changes.askToSave(strFolder); }
    //! Moves the brightness spin box by iSteps steps.
    void stepBrightness(int iSteps);

    bool printMapReport(QPrinter* pPrinter, const QString& strLogoPath);

    // Changed stored files, for saving a copy of the map.
    int pendingChanges() const override { return m_changes.pendingChanges(); }
    bool writeChanges(const QString& strFolder, int& iWritten) override;
    void markChangesSaved() override { m_changes.markChangesSaved(); }

    //! Headless use: warnings are kept in lastMessage() instead of being shown in boxes.
    void setMessagesShown(bool bShown) { m_bShowMessages = bShown; }
    QString lastMessage() const { return m_strLastMessage; }
    //! Most memory in bytes a reconstruction may take; Execute refuses more before it
    //! changes anything.
    void setMemoryLimit(qint64 iBytes) { m_memoryLimit = iBytes; }

    //! The viewing state as it is now (the view's values and MapData's ranges).
    MapViewState viewingStateNow() const;
    //! viewingStateNow(), also kept as the view's state, before it is stored.
    MapViewState collectViewingState();
    const MapViewState& viewingState() const { return m_state; }
    //! The record that produced the shown volume.
    const SAFTsettings& saftSettings() const { return m_saft; }
    const ConfigSettings& mapSettings() const { return m_settings; }
    QString comments() const { return m_stored.comments(); }
    bool commentsChanged() const { return m_stored.commentsChanged(); }
    MapStoredFiles& storedFiles() { return m_stored; }
    const MapData& mapData() const { return m_data; }
    const MapViewGeometry& viewGeometry() const { return m_geometry; }
    //! Slices in volume points.
    int sliceX() const { return m_slice[0]; }
    int sliceY() const { return m_slice[1]; }
    int sliceZ() const { return m_slice[2]; }
    bool isLimitsMode() const { return m_bLimitsMode; }
    bool isMeasuringMode() const { return m_bMeasuringMode; }

    //! The composed clipboard images of the three scans and the A-scan.
    QImage composedScan(Scan eScan) const { return pane(eScan).composed(); }
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
    void slot_BscanCursorPositionChanged(QPoint curPos) { cursorClicked(Scan::B, curPos); }
    void slot_CscanCursorPositionChanged(QPoint curPos) { cursorClicked(Scan::C, curPos); }
    void slot_DscanCursorPositionChanged(QPoint curPos) { cursorClicked(Scan::D, curPos); }
    void slot_BscanRectSelectBegun(QPoint p) { rectSelectBegun(Scan::B, p); }
    void slot_CscanRectSelectBegun(QPoint p) { rectSelectBegun(Scan::C, p); }
    void slot_DscanRectSelectBegun(QPoint p) { rectSelectBegun(Scan::D, p); }
    void slot_BscanRectangleSelected(QPoint p1, QPoint p2) { rectangleSelected(Scan::B, p1, p2); }
    void slot_CscanRectangleSelected(QPoint p1, QPoint p2) { rectangleSelected(Scan::C, p1, p2); }
    void slot_DscanRectangleSelected(QPoint p1, QPoint p2) { rectangleSelected(Scan::D, p1, p2); }
    void slot_BscanRectangleBorderChanged(QPoint p1, QPoint p2) { rectangleBorderChanged(Scan::B, p1, p2); }
    void slot_CscanRectangleBorderChanged(QPoint p1, QPoint p2) { rectangleBorderChanged(Scan::C, p1, p2); }
    void slot_DscanRectangleBorderChanged(QPoint p1, QPoint p2) { rectangleBorderChanged(Scan::D, p1, p2); }
    void slot_onMouseWheelScrolled(int iSteps);
    void slot_sliceChanged_Z(int iValue) { sliceChanged(Axis::Z, iValue); }
    void slot_sliceChanged_Y(int iValue) { sliceChanged(Axis::Y, iValue); }
    void slot_sliceChanged_X(int iValue) { sliceChanged(Axis::X, iValue); }
    void slot_minLayerChanged_Z(int iMin) { minLayerChanged(Axis::Z, iMin); }
    void slot_maxLayerChanged_Z(int iMax) { maxLayerChanged(Axis::Z, iMax); }
    void slot_layerLimitsChanged_Z(int iMin, int iMax) { layerLimitsChanged(Axis::Z, iMin, iMax); }
    void slot_minLayerChanged_Y(int iMin) { minLayerChanged(Axis::Y, iMin); }
    void slot_maxLayerChanged_Y(int iMax) { maxLayerChanged(Axis::Y, iMax); }
    void slot_layerLimitsChanged_Y(int iMin, int iMax) { layerLimitsChanged(Axis::Y, iMin, iMax); }
    void slot_minLayerChanged_X(int iMin) { minLayerChanged(Axis::X, iMin); }
    void slot_maxLayerChanged_X(int iMax) { maxLayerChanged(Axis::X, iMax); }
    void slot_layerLimitsChanged_X(int iMin, int iMax) { layerLimitsChanged(Axis::X, iMin, iMax); }
    void slot_BScanOffsetChanged(QPoint p) { offsetDragged(Scan::B, p); }
    void slot_CScanOffsetChanged(QPoint p) { offsetDragged(Scan::C, p); }
    void slot_DScanOffsetChanged(QPoint p) { offsetDragged(Scan::D, p); }
    void slot_XscrollingChanged(int iPosition) { panned(Axis::X, iPosition); }
    void slot_YscrollingChanged(int iPosition) { panned(Axis::Y, iPosition); }
    void slot_ZscrollingChanged(int iPosition) { panned(Axis::Z, iPosition); }
    void slot_clearLCDpanels();
    void slot_setScanThreshold(int iValue);
    void slot_setScanBrightness(int iValue);
    void slot_copyCScanToClipboard() { copyToClipboard(composedScan(Scan::C)); }
    void slot_copyBScanToClipboard() { copyToClipboard(composedScan(Scan::B)); }
    void slot_copyDScanToClipboard() { copyToClipboard(composedScan(Scan::D)); }
    void slot_copyAScanToClipboard() { copyToClipboard(composedAScan()); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    ScanPane& pane(Scan eScan) { return m_panes[size_t(eScan)]; }
    const ScanPane& pane(Scan eScan) const { return m_panes[size_t(eScan)]; }
    int slice(Axis a) const { return m_slice[axisIndex(a)]; }

    //! Runs an opening or processing sequence with the progress dialogs of its steps.
    bool runSequence(const std::function<bool(MapStepReporter*)>& sequence);
    void warn(const QString& strText);
    void createChildren();
    void doLayout();
    void createReadouts();
    void createSliderGroup();
    void updateSliderRanges();
    void updateSliceBars();

    void applyGeometryToImages();
    void updateScales();
    void updateScrollBars();
    void resetZoom();
    void emitDragPossible();
    //! After the frame or image sizes changed: images, scales, cursors or rectangles, pan.
    void geometryChanged();
    void renderImages();
    void clearImages();
    void updateAScan();
    void updateAmplitudeReadout();
    //! Cursor lines of the three frames, read-outs and the A-scan marker at m_cursorPx.
    void showCursor();
    void restoreCursorsFromSlices();
    void updateCursorPixels();
    void showBoxInFrames();
    void repaintFrames();
    void putCursorOnFirstPosition();
    void showMeasurement(std::initializer_list<Axis> axes);
    void resetSelections(const ScanPane* pExcept);
    void cursorClicked(Scan eScan, QPoint p);
    //! Moves the cursor on the given axes to image pixels; the other axes keep theirs.
    void moveCursor(std::initializer_list<std::pair<Axis, int>> pixels);
    void rectSelectBegun(Scan eScan, QPoint p);
    void rectangleSelected(Scan eScan, QPoint p1, QPoint p2);
    void rectangleBorderChanged(Scan eScan, QPoint p1, QPoint p2);
    void offsetDragged(Scan eScan, QPoint p);
    void panned(Axis a, int iOffset);
    void minLayerChanged(Axis a, int iMin);
    void maxLayerChanged(Axis a, int iMax);
    void layerLimitsChanged(Axis a, int iMin, int iMax);
    void sliceChanged(Axis a, int iValue);
    void applySavedState(const MapViewState& state);
    void setAScanAxes();
    void copyToClipboard(const QImage& image);

    // Indications.
    void findIndications();
    void addIndication();
    void removeIndication(int iRow);
    void selectIndication(int iRow);
    void editIndication(int iRow, const QString& strText, bool bLabel);
    void exportIndications();
    //! The list changed: stored, shown in the window and marked on the scans.
    void setIndications(std::vector<MapIndication> list, int iSelected);
    //! The cell of each axis an indication lies in, within the volume.
    PerAxis<int> indicationCell(const MapIndication& ind) const;
    void updateMarks();
    //! Brightness at which the brightest value of the images shows the top colour.
    void autoBrightness();

    // Children.
    std::array<ScanPane, 3> m_panes;
    CVectorDrawFrame* m_pFrameA = nullptr;
    QScaleFrame* m_pAVer = nullptr;
    CColorScale* m_pColourScale = nullptr;
    QWidget* m_pWgtLcd = nullptr;
    QLabel* m_pLblBrightness = nullptr;
    MySpinBox* m_pSpbBrightness = nullptr;
    QLabel* m_pLblBrightnessUnits = nullptr;
    QWidget* m_pWgtSlidebars = nullptr;
    //! The pan scroll bars, one per axis.
    PerAxis<QScrollBar*> m_scroll = {};
    CWgtDisplaysStd* m_pDisplaysStd = nullptr;
    CWgtDisplaysDiff* m_pDisplaysDiff = nullptr;
    CWgtScrollBars* m_pScrollBars = nullptr;
    CWgtSliderControl* m_pSliderControl = nullptr;
    QPointer<CMapSettings> m_pSettingsWindow;
    QPointer<CIndicationsWindow> m_pIndicationsWindow;
    QToolButton* m_pBtnIndications = nullptr;

    // The map.
    MapData m_data;
    MapConfig m_config;
    ConfigSettings m_settings;
    SAFTsettings m_saft;
    SAFTsettings m_openedSaft;
    MapStoredFiles m_stored;
    MapChangesKeeper m_changes;
    MapViewState m_state;
    MapViewGeometry m_geometry;
    QString m_strConfigPath;
    QString m_strFolder;
    QString m_strDate;
    int m_firstPositionX = 0;
    int m_firstPositionY = 0;
    std::vector<qint16> m_ascan;
    bool m_bLoaded = false;
    //! A reconstruction runs on a worker thread: nothing may read m_data meanwhile.
    bool m_bBusy = false;
    qint64 m_memoryLimit;

    // View state.
    PerAxis<int> m_slice = {0, 0, 0};
    //! Image pixels of the cursor on each axis.
    PerAxis<int> m_cursorPx = {0, 0, 0};
    //! The measured box in volume points; valid while m_bBoxSet.
    PerAxis<MapBand> m_box = {};
    bool m_bBoxSet = false;
    bool m_bLimitsMode = false;
    bool m_bMeasuringMode = false;
    //! Unstored indications carried over the reload that follows a reset of the viewing
    //! settings of the map in m_strKeptFolder: they are no viewing settings.
    std::optional<std::vector<MapIndication>> m_keptIndications;
    QString m_strKeptFolder;
    //! Row of the indication selected in the window; −1 when none.
    int m_iSelectedIndication = -1;
    bool m_bShowMessages = true;
    QString m_strLastMessage;
};
