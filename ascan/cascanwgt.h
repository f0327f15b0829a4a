#pragma once

#include "ascan/ascandisplaymath.h"
#include "ascan/configsettings.h"

#include <QImage>
#include <QList>
#include <QWidget>

#include <memory>

class BandPassFilter;
class CAScanFrame;
class QLabel;
class QLCDNumber;
class QPushButton;
class QScaleFrame;

//! The A-scan display: the signal between its amplitude and time/depth scales, the strobe,
//! the cursor with its read-outs, the TVG curve and the buttons for the strobe, the response
//! type, the signal type, the loupe, the time base and a reset. Keeps the settings as loaded
//! (file settings) and as changed here or in the settings table (current settings).
class CAScanWgt : public QWidget
{
    Q_OBJECT

public:
    explicit CAScanWgt(QWidget* parent = nullptr);
    ~CAScanWgt() override;

    //! Reads the signal file and shows it under the two settings. On failure nothing shown
    //! changes and pError says why.
    bool load(const QString& strSamplesPath, const ConfigSettings& fileSettings,
              const ConfigSettings& currentSettings, QString* pError = nullptr);
    //! Shows a signal already read (at most 40000 samples are taken, missing ones are 0).
    void setData(const QList<qint16>& samples, const ConfigSettings& fileSettings,
                 const ConfigSettings& currentSettings);
    void clear();
    void retranslate();

    bool hasData() const { return m_bHasData; }
    const ConfigSettings& fileSettings() const { return m_file; }
    const ConfigSettings& currentSettings() const { return m_current; }
    bool isEdited() const { return m_current != m_file; }
    AScanMath::Window window() const { return m_window; }
    const QList<qint16>& displaySignal() const { return m_display; }
    CAScanFrame* frame() const { return frameAScan; }

    // Setters of the fields edited in the settings table; each emits settingsChanged.
    void setScaleUnits(int iUnits);
    void setDiscreteness(int iDiscreteness);
    void setCursorOn(bool bOn);
    void setTestingMethod(int iMethod);
    void setVelocity(int iVelocity);
    void setBase(bool bOn, double dBase);

    //! Parts for pictures (reports): the drawing, the two scales and the read-out row.
    QImage displayImage() const;
    QImage verticalScaleImage() const;
    QImage horizontalScaleImage() const;
    QImage readoutsImage() const;
    //! The drawing with both scales and the read-outs on white, as one picture.
    QImage renderImage() const;

    //! Texts the read-outs show now (time, depth or velocity, amplitude).
    QString timeText() const { return m_strT; }
    QString depthText() const { return m_strZ; }
    QString amplitudeText() const { return m_strA; }

signals:
    void settingsChanged(bool bEdited);
    void settingsReset(ConfigSettings settings);

public slots:
    void slot_btn_strobeEnabled_clicked();
    void slot_btn_triggering_clicked();
    void slot_btn_signalType_clicked();
    void slot_btn_loupe_clicked();
    void slot_btn_decreaseScale_clicked();
    void slot_btn_increaseScale_clicked();
    void slot_btn_resetSettings_clicked();
    void slot_onMouseWheelScrolled(int iSteps);
    void slot_onStrobePositionChanged(int x1, int x2, int y);
    void slot_onCursorPositionChanged(int x, int y);
    void slot_onSetCursorToMax();

private slots:
    void slot_onStrobeDragged(int x1, int x2, int y);

private:
    void setupUi();
    QPushButton* makeButton(const char* objectName, const char* slotIcon);
    void filterSignal();
    void refresh(bool bMeasure);
    void applyWindow();
    void applyAxes();
    void applyMarks();
    void measure();
    void showReadouts();
    void showText(QLCDNumber* lcd, QString& store, const QString& text);
    void updateIcons();
    void updateButtons();
    void emitChanged();
    bool strobePresent() const;
    int drawMode() const;
    QString unitText() const;
    double axisValue(int iSample) const;

    CAScanFrame* frameAScan = nullptr;
    QScaleFrame* ascanVerScale = nullptr;
    QScaleFrame* ascanHorScale = nullptr;
    QLCDNumber* wgt_displayT = nullptr;
    QLCDNumber* wgt_displayZ = nullptr;
    QLCDNumber* wgt_displayA = nullptr;
    QLabel* lbl_displayT = nullptr;
    QLabel* lbl_displayZ = nullptr;
    QLabel* lbl_brightnessUnits = nullptr;
    QWidget* wgt_readouts = nullptr;
    QPushButton* btn_strobeEnabled = nullptr;
    QPushButton* btn_triggering = nullptr;
    QPushButton* btn_signalType = nullptr;
    QPushButton* btn_loupe = nullptr;
    QPushButton* btn_decreaseScale = nullptr;
    QPushButton* btn_increaseScale = nullptr;
    QPushButton* btn_resetSettings = nullptr;

    ConfigSettings m_file;
    ConfigSettings m_current;
    QList<qint16> m_raw;
    QList<qint16> m_display;
    AScanMath::Window m_window;
    std::unique_ptr<BandPassFilter> m_filter;
    bool m_bHasData = false;
    QString m_strT;
    QString m_strZ;
    QString m_strA;
};
