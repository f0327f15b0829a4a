#include "ascan/cascanwgt.h"

#include "ascan/ascanfile.h"
#include "ascan/cascanframe.h"
#include "map/bandpassfilter.h"
#include "widgets/qscaleframe.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLCDNumber>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kButtonSize = 40;
constexpr int kScaleWidth = 54;
constexpr int kScaleHeight = 34;
constexpr int kTickLength = 6;
constexpr int kFilterScale = 1024;
const QString kNoValue = QStringLiteral("-----");

QIcon icon(const char* name)
{
    return QIcon(QStringLiteral(":/vantar/images/") + QLatin1String(name));
}

} // namespace

CAScanWgt::CAScanWgt(QWidget* parent)
    : QWidget(parent)
    , m_raw(ConfigSettings::kSampleCount, 0)
    , m_display(ConfigSettings::kSampleCount, 0)
    , m_filter(std::make_unique<BandPassFilter>())
{
    setObjectName(QStringLiteral("CAScanWgt"));
    setupUi();
    retranslate();
    clear();
}

CAScanWgt::~CAScanWgt() = default;

QPushButton* CAScanWgt::makeButton(const char* objectName, const char* iconName)
{
    auto* b = new QPushButton(this);
    b->setObjectName(QLatin1String(objectName));
    b->setFixedSize(kButtonSize, kButtonSize);
    b->setIconSize(QSize(32, 32));
    b->setIcon(icon(iconName));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void CAScanWgt::setupUi()
{
    auto* grid = new QGridLayout(this);
    grid->setObjectName(QStringLiteral("gridLayout"));
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(2);

    wgt_readouts = new QWidget(this);
    wgt_readouts->setObjectName(QStringLiteral("wgt_readouts"));
    auto* row = new QHBoxLayout(wgt_readouts);
    row->setContentsMargins(4, 0, 4, 0);
    auto makeLcd = [this](const char* name) {
        auto* lcd = new QLCDNumber(5, wgt_readouts);
        lcd->setObjectName(QLatin1String(name));
        lcd->setSegmentStyle(QLCDNumber::Flat);
        lcd->setSmallDecimalPoint(true);
        lcd->setFixedSize(110, 34);
        return lcd;
    };
    auto makeLabel = [this](const char* name) {
        auto* l = new QLabel(wgt_readouts);
        l->setObjectName(QLatin1String(name));
        l->setMinimumWidth(56);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    lbl_displayT = makeLabel("lbl_displayT");
    wgt_displayT = makeLcd("wgt_displayT");
    lbl_displayZ = makeLabel("lbl_displayZ");
    wgt_displayZ = makeLcd("wgt_displayZ");
    wgt_displayA = makeLcd("wgt_displayA");
    lbl_brightnessUnits = makeLabel("lbl_brightnessUnits");
    lbl_brightnessUnits->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(lbl_displayT);
    row->addWidget(wgt_displayT);
    row->addSpacing(12);
    row->addWidget(lbl_displayZ);
    row->addWidget(wgt_displayZ);
    row->addSpacing(12);
    row->addWidget(wgt_displayA);
    row->addWidget(lbl_brightnessUnits);
    row->addStretch(1);

    ascanVerScale = new QScaleFrame(this);
    ascanVerScale->setObjectName(QStringLiteral("ascanVerScale"));
    ascanVerScale->setFixedWidth(kScaleWidth);
    ascanVerScale->setPosition(0);
    ascanVerScale->setDirection(-1);
    ascanVerScale->setTickLength(kTickLength);
    ascanVerScale->setUnit(QStringLiteral("%"));

    frameAScan = new CAScanFrame(this);
    frameAScan->setObjectName(QStringLiteral("frameAScan"));
    frameAScan->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    ascanHorScale = new QScaleFrame(this);
    ascanHorScale->setObjectName(QStringLiteral("ascanHorScale"));
    ascanHorScale->setFixedHeight(kScaleHeight);
    ascanHorScale->setPosition(3);
    ascanHorScale->setDirection(1);
    ascanHorScale->setTickLength(kTickLength);

    btn_strobeEnabled = makeButton("btn_strobeEnabled", "F1_2.png");
    btn_triggering = makeButton("btn_triggering", "F3_2.png");
    btn_signalType = makeButton("btn_signalType", "F4_1.png");
    btn_loupe = makeButton("btn_loupe", "F5_1.png");
    btn_loupe->setCheckable(true);
    btn_decreaseScale = makeButton("btn_decreaseScale", "arrow_left.png");
    btn_increaseScale = makeButton("btn_increaseScale", "arrow_right.png");
    btn_resetSettings = makeButton("btn_resetSettings", "arrow_reset.png");

    auto* buttons = new QVBoxLayout;
    buttons->setObjectName(QStringLiteral("verticalLayout"));
    buttons->setContentsMargins(6, 0, 0, 0);
    buttons->setSpacing(6);
    for (QPushButton* b : {btn_strobeEnabled, btn_triggering, btn_signalType, btn_loupe})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(btn_decreaseScale);
    buttons->addWidget(btn_increaseScale);
    buttons->addSpacing(12);
    buttons->addWidget(btn_resetSettings);
    buttons->addStretch(1);

    grid->addWidget(wgt_readouts, 0, 0, 1, 2);
    grid->addWidget(ascanVerScale, 1, 0);
    grid->addWidget(frameAScan, 1, 1);
    grid->addWidget(ascanHorScale, 2, 1);
    grid->addLayout(buttons, 0, 2, 3, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);

    connect(btn_strobeEnabled, &QPushButton::clicked, this, &CAScanWgt::slot_btn_strobeEnabled_clicked);
    connect(btn_triggering, &QPushButton::clicked, this, &CAScanWgt::slot_btn_triggering_clicked);
    connect(btn_signalType, &QPushButton::clicked, this, &CAScanWgt::slot_btn_signalType_clicked);
    connect(btn_loupe, &QPushButton::clicked, this, &CAScanWgt::slot_btn_loupe_clicked);
    connect(btn_decreaseScale, &QPushButton::clicked, this, &CAScanWgt::slot_btn_decreaseScale_clicked);
    connect(btn_increaseScale, &QPushButton::clicked, this, &CAScanWgt::slot_btn_increaseScale_clicked);
    connect(btn_resetSettings, &QPushButton::clicked, this, &CAScanWgt::slot_btn_resetSettings_clicked);
    connect(frameAScan, &CAScanFrame::mouseWheelScrolled, this, &CAScanWgt::slot_onMouseWheelScrolled);
    connect(frameAScan, &CAScanFrame::strobePositionChanged, this, &CAScanWgt::slot_onStrobePositionChanged);
    connect(frameAScan, &CAScanFrame::cursorPositionChanged, this, &CAScanWgt::slot_onCursorPositionChanged);
    connect(frameAScan, &CAScanFrame::setCursorToMax, this, &CAScanWgt::slot_onSetCursorToMax);
    connect(frameAScan, &CAScanFrame::strobeDragged, this, &CAScanWgt::slot_onStrobeDragged);
}

void CAScanWgt::retranslate()
{
    btn_strobeEnabled->setToolTip(tr("Strobe Operation"));
    btn_triggering->setToolTip(tr("Type of Monitor Response Selection"));
    btn_signalType->setToolTip(tr("Type of Mapping Signals Selection"));
    btn_loupe->setToolTip(tr("On/Off Switching of \"Loop\" Mode"));
    btn_decreaseScale->setToolTip(tr("Time Base Adjustment"));
    btn_increaseScale->setToolTip(tr("Time Base Adjustment"));
    btn_resetSettings->setToolTip(tr("Reset Adjustment"));
    frameAScan->retranslate();
    if (m_bHasData)
        applyAxes();
    showReadouts();
}

bool CAScanWgt::load(const QString& strSamplesPath, const ConfigSettings& fileSettings,
                     const ConfigSettings& currentSettings, QString* pError)
{
    QList<qint16> samples(ConfigSettings::kSampleCount, 0);
    if (!readAScanSamples(strSamplesPath, samples.data(), int(samples.size()), pError))
        return false;
    setData(samples, fileSettings, currentSettings);
    return true;
}

void CAScanWgt::setData(const QList<qint16>& samples, const ConfigSettings& fileSettings,
                        const ConfigSettings& currentSettings)
{
    frameAScan->clearFrame();
    m_file = fileSettings;
    m_current = currentSettings;
    m_raw = samples.mid(0, ConfigSettings::kSampleCount);
    m_raw.resize(ConfigSettings::kSampleCount, 0);
    m_bHasData = true;
    frameAScan->setHasData(true);
    frameAScan->setAutomatic(true);
    filterSignal();
    // The stored measurement is shown as it is; only a change of strobe or cursor measures.
    refresh(false);
}

void CAScanWgt::clear()
{
    m_file = ConfigSettings();
    m_current = ConfigSettings();
    m_raw.fill(0);
    m_display.fill(0);
    m_window = AScanMath::Window();
    m_bHasData = false;
    frameAScan->clearFrame();
    ascanHorScale->setUnit(QString());
    ascanHorScale->setRange(0.0, 100.0);
    ascanHorScale->setTicks(0.0, 10.0, 5.0);
    ascanVerScale->setRange(0.0, 100.0);
    ascanVerScale->setTicks(0.0, 25.0, 5.0);
    for (QLCDNumber* lcd : {wgt_displayT, wgt_displayZ, wgt_displayA})
        lcd->display(0);
    m_strT = m_strZ = m_strA = QStringLiteral("0");
    updateIcons();
    updateButtons();
}

int CAScanWgt::drawMode() const
{
    const int type = qBound(0, int(m_current.eSignalType), 2);
    if (type == ConfigSettings::SignalFilled && m_current.bAuxFlag && m_current.iAuxMode != 0)
        return ConfigSettings::SignalOneSided;
    return type;
}

bool CAScanWgt::strobePresent() const
{
    return m_current.iStrobe != 0 && m_current.fStrobeEnd > m_current.fStrobeStart;
}

void CAScanWgt::filterSignal()
{
    m_display = m_raw;
    const bool envelope = m_current.eSignalType != ConfigSettings::SignalRadio;
    const int period = AScanMath::filterPeriod(m_current);
    bool filtered = false;
    if (period > 0) {
        m_filter->setPeriod(period);
        m_filter->setBandwidth(m_current.iInputFilter == 0 ? 0.5 : 1.0);
        filtered = m_filter->filterDisplaySignal(m_display.data(), int(m_display.size()),
                                                 kFilterScale, envelope);
    }
    // A frequency the filter cannot serve still shows the signal as recorded.
    if (!filtered && envelope)
        for (qint16& s : m_display)
            s = qint16(qMin(std::abs(int(s)), 32767));
}

double CAScanWgt::axisValue(int iSample) const
{
    const double t = m_current.sampleToTime(iSample);
    if (m_current.eScaleUnits == ConfigSettings::UnitsUs || m_current.iBaseMode != 0)
        return t;
    return m_current.timeToDepth(t);
}

QString CAScanWgt::unitText() const
{
    if (m_current.bSpectrum)
        return tr("kHz");
    if (m_current.eScaleUnits == ConfigSettings::UnitsUs || m_current.iBaseMode != 0)
        return tr("\xc2\xb5s");
    return tr("mm");
}

void CAScanWgt::refresh(bool bMeasure)
{
    if (!m_bHasData) {
        updateButtons();
        return;
    }
    applyWindow();
    applyAxes();
    applyMarks();
    if (bMeasure)
        measure();
    frameAScan->redraw();
    showReadouts();
    updateIcons();
    updateButtons();
}

void CAScanWgt::applyWindow()
{
    m_window = AScanMath::windowFor(m_current);
    frameAScan->setLoupe(m_current.iLoupe != 0);
    // The signal first: filtering may have moved the samples, and a new draw mode reduces
    // whatever the frame holds.
    frameAScan->setSignal(m_display.constData() + m_window.first, m_window.length());
    frameAScan->setDrawMode(drawMode(), m_current.eTestingMethod == ConfigSettings::Transmission
                                            || drawMode() != qBound(0, int(m_current.eSignalType), 2));
    frameAScan->setMinStrobeWidth(AScanMath::minStrobeSamples(m_current));
}

void CAScanWgt::applyAxes()
{
    const bool bipolar = drawMode() == ConfigSettings::SignalRadio;
    const double vStart = bipolar ? -100.0 : 0.0;
    const double vSpan = bipolar ? 200.0 : 100.0;
    const double vStep = bipolar ? 50.0 : 25.0;
    ascanVerScale->setRange(vStart, vSpan);
    ascanVerScale->setTicks(0.0, vStep, vStep / 5.0);

    const double start = axisValue(m_window.first);
    double span = axisValue(m_window.last) - start;
    if (std::abs(span) < 1.0)
        span = 1.0;
    const double step = AScanMath::axisStep(span);
    ascanHorScale->setRange(start, span);
    ascanHorScale->setTicks(0.0, step, step / 2.0);
    ascanHorScale->setUnit(unitText());

    // A grid line at every labelled value of both scales.
    frameAScan->setGrid(step / span, -start / span, 0.25, bipolar ? 0.5 : 1.0);
}

void CAScanWgt::applyMarks()
{
    const int first = m_window.first;
    const int length = m_window.length();
    if (m_current.iStrobe != 0) {
        if (m_current.fStrobeEnd > m_current.fStrobeStart)
            frameAScan->setStrobe(true, m_current.timeToSample(m_current.fStrobeStart) - first,
                                  m_current.timeToSample(m_current.fStrobeEnd) - first,
                                  m_current.iStrobeLevel);
        else
            frameAScan->setStrobe(true, -1, -1, m_current.iStrobeLevel);
    } else {
        // Without a strobe the whole window is searched; nothing is drawn.
        frameAScan->setStrobe(false, 0, length, m_current.iStrobeLevel);
    }
    frameAScan->setCursor(m_current.iCursor != 0, m_current.measuredSample() - first);
    if (m_current.iCursor != 0 && m_current.bMeasured) {
        // The marker sits on the drawn signal, also where the peak time was moved to the cursor.
        const int peak = m_current.peakSample();
        const int amplitude = peak >= 0 && peak < m_display.size() ? m_display[peak] : m_current.iPeakAmplitude;
        frameAScan->setMarker(peak - first, amplitude);
    } else {
        frameAScan->setMarker(-1, 0);
    }
    QList<QPoint> tvg;
    const int count = qBound(0, int(m_current.tvg.iCount), TvgCurve::kMaxPoints);
    for (int i = 0; i < count; ++i)
        tvg << QPoint(m_current.tvg.points[size_t(i)].iPosition - first, m_current.tvg.points[size_t(i)].iLevel);
    frameAScan->setTvg(m_current.tvg.iOn != 0, tvg);
}

void CAScanWgt::measure()
{
    if (m_current.iCursor == 0 || !frameAScan->isAutomatic() || !strobePresent())
        return;
    const qint16* samples = m_display.constData() + m_window.first;
    const int length = m_window.length();
    const int start = frameAScan->strobeStart();
    const int end = frameAScan->strobeEnd();
    const int level = m_current.iStrobeLevel;
    const int type = m_current.eSignalType;
    const int peak = AScanMath::findPeak(samples, length, start, end, level, type);
    const int front = AScanMath::findFront(samples, length, start, end, level, type);
    const int measured = m_current.eResponseType == ConfigSettings::ResponsePeak ? peak : front;
    if (measured < 0 || peak < 0) {
        m_current.bMeasured = false;
        m_current.fMeasuredTime = m_current.fPeakTime = 0.0f;
        m_current.iPeakAmplitude = 0;
        frameAScan->setMarker(-1, 0);
        return;
    }
    m_current.bMeasured = true;
    m_current.fMeasuredTime = float(m_current.sampleToTime(m_window.first + measured));
    m_current.fPeakTime = float(m_current.sampleToTime(m_window.first + peak));
    m_current.iPeakAmplitude = samples[peak];
    if (m_current.iBaseMode != 0)
        m_current.setBaseVelocityFromTime(m_current.fMeasuredTime);
    frameAScan->setCursor(m_current.iCursor != 0, measured);
    frameAScan->setMarker(peak, samples[peak]);
}

void CAScanWgt::showText(QLCDNumber* lcd, QString& store, const QString& text)
{
    store = text;
    lcd->display(text);
}

void CAScanWgt::showReadouts()
{
    lbl_displayT->setText(tr("T, \xc2\xb5s"));
    lbl_displayZ->setText(m_current.iBaseMode != 0 ? tr("V, m/s") : tr("Z, mm"));
    lbl_brightnessUnits->setText(tr("A, dB"));
    if (!m_bHasData)
        return;
    const int disc = m_current.eDiscreteness;
    if (m_current.iCursor == 0) {
        showText(wgt_displayT, m_strT, kNoValue);
        showText(wgt_displayZ, m_strZ, kNoValue);
        showText(wgt_displayA, m_strA, kNoValue);
        return;
    }
    const double t = m_current.fMeasuredTime;
    showText(wgt_displayT, m_strT, AScanMath::readoutText(t, disc));
    if (m_current.iBaseMode == 0)
        showText(wgt_displayZ, m_strZ, AScanMath::readoutText(m_current.timeToDepth(t), disc));
    else
        showText(wgt_displayZ, m_strZ, t == 0.0 ? kNoValue : AScanMath::readoutText(m_current.fBaseVelocity, disc));
    if (frameAScan->isAutomatic() && !m_current.bMeasured)
        showText(wgt_displayA, m_strA, kNoValue);
    else
        showText(wgt_displayA, m_strA, AScanMath::readoutText(AScanMath::amplitudeDb(m_current.iPeakAmplitude, m_current.iGain), disc));
}

void CAScanWgt::slot_onStrobeDragged(int x1, int x2, int y)
{
    const int disc = m_current.eDiscreteness;
    lbl_displayT->setText(tr("X1"));
    lbl_displayZ->setText(tr("X2"));
    showText(wgt_displayT, m_strT, AScanMath::readoutText(axisValue(m_window.first + x1), disc));
    showText(wgt_displayZ, m_strZ, AScanMath::readoutText(axisValue(m_window.first + x2), disc));
    showText(wgt_displayA, m_strA, AScanMath::readoutText(AScanMath::amplitudeDb(y, m_current.iGain), disc));
}

void CAScanWgt::updateIcons()
{
    btn_strobeEnabled->setIcon(icon(m_current.iStrobe != 0 ? "F1_2.png" : "F1_1.png"));
    btn_triggering->setIcon(icon(m_current.eResponseType == ConfigSettings::ResponsePeak ? "F3_2.png" : "F3_1.png"));
    static const char* const types[] = {"F4_3.png", "F4_2.png", "F4_1.png"};
    btn_signalType->setIcon(icon(types[qBound(0, int(m_current.eSignalType), 2)]));
    btn_loupe->setIcon(icon(m_current.iLoupe != 0 ? "F5_2.png" : "F5_1.png"));
    btn_loupe->setChecked(m_current.iLoupe != 0);
}

void CAScanWgt::updateButtons()
{
    const bool data = m_bHasData;
    const bool strobe = m_current.iStrobe != 0;
    const bool loupe = m_current.iLoupe != 0;
    btn_signalType->setEnabled(data);
    btn_triggering->setEnabled(data && strobe);
    // A loupe over a removed strobe would show nothing; it may still be switched off.
    btn_loupe->setEnabled(data && strobe && (strobePresent() || loupe));
    btn_strobeEnabled->setEnabled(data && !loupe);
    btn_decreaseScale->setEnabled(data && !loupe && m_current.iWindowEnd < ConfigSettings::kSampleCount);
    btn_increaseScale->setEnabled(data && !loupe && m_current.iWindowEnd > m_current.samplesIn75us());
    btn_resetSettings->setEnabled(data && isEdited());
}

void CAScanWgt::emitChanged()
{
    updateButtons();
    emit settingsChanged(isEdited());
}

void CAScanWgt::slot_btn_strobeEnabled_clicked()
{
    if (!m_bHasData)
        return;
    if (m_current.iStrobe == 0) {
        m_current.iStrobe = 1;
        refresh(true);
    } else {
        m_current.iStrobe = 0;
        // Only the peak time follows the cursor; the measured amplitude stays what it was,
        // so switching the strobe off and on again is no edit.
        if (m_current.iCursor != 0)
            m_current.fPeakTime = m_current.fMeasuredTime;
        refresh(false);
    }
    emitChanged();
}

void CAScanWgt::slot_btn_triggering_clicked()
{
    if (!m_bHasData)
        return;
    m_current.eResponseType = m_current.eResponseType == ConfigSettings::ResponsePeak
                                  ? ConfigSettings::ResponseFront : ConfigSettings::ResponsePeak;
    refresh(true);
    emitChanged();
}

void CAScanWgt::slot_btn_signalType_clicked()
{
    if (!m_bHasData)
        return;
    m_current.eSignalType = ConfigSettings::ESignalType((qBound(0, int(m_current.eSignalType), 2) + 1) % 3);
    filterSignal();
    refresh(true);
    emitChanged();
}

void CAScanWgt::slot_btn_loupe_clicked()
{
    if (!m_bHasData)
        return;
    m_current.iLoupe = m_current.iLoupe != 0 ? 0 : 1;
    refresh(false);
    emitChanged();
}

void CAScanWgt::slot_btn_decreaseScale_clicked()
{
    slot_onMouseWheelScrolled(1);
}

void CAScanWgt::slot_btn_increaseScale_clicked()
{
    slot_onMouseWheelScrolled(-1);
}

void CAScanWgt::slot_onMouseWheelScrolled(int iSteps)
{
    // In the loupe the window is the strobe; the time base has nothing to change.
    if (!m_bHasData || iSteps == 0 || m_current.iLoupe != 0)
        return;
    m_current.setWindowEndTime(AScanMath::stepTimeBase(m_current.windowEndTime(), iSteps));
    // A time base that ends before the window starts would leave nothing to show.
    if (m_current.iWindowEnd - m_current.iWindowStart < AScanMath::kMinWindowLength)
        m_current.iWindowStart = 0;
    refresh(true);
    emitChanged();
}

void CAScanWgt::slot_btn_resetSettings_clicked()
{
    if (!m_bHasData)
        return;
    m_current = m_file;
    frameAScan->setAutomatic(true);
    filterSignal();
    refresh(false);
    updateButtons();
    emit settingsReset(m_current);
}

void CAScanWgt::slot_onStrobePositionChanged(int x1, int x2, int y)
{
    if (!m_bHasData)
        return;
    if (x1 < 0 && x2 < 0) {
        m_current.fStrobeStart = m_current.fStrobeEnd = 0.0f;
    } else {
        if (x2 < x1)
            std::swap(x1, x2);
        m_current.fStrobeStart = float(m_current.sampleToTime(m_window.first + qMax(0, x1)));
        m_current.fStrobeEnd = float(m_current.sampleToTime(m_window.first + qMax(0, x2)));
    }
    m_current.iStrobeLevel = qint16(qBound(-511, y, 511));
    refresh(true);
    emitChanged();
}

void CAScanWgt::slot_onCursorPositionChanged(int x, int y)
{
    if (!m_bHasData)
        return;
    const float t = float(m_current.sampleToTime(m_window.first + qMax(0, x)));
    m_current.fMeasuredTime = m_current.fPeakTime = t;
    if (m_current.iBaseMode != 0)
        m_current.setBaseVelocityFromTime(t);
    m_current.iPeakAmplitude = qint16(y);
    m_current.bMeasured = true;
    frameAScan->setMarker(m_current.iCursor != 0 ? x : -1, y);
    frameAScan->redraw();
    showReadouts();
    emitChanged();
}

void CAScanWgt::slot_onSetCursorToMax()
{
    if (!m_bHasData)
        return;
    refresh(true);
    emitChanged();
}

void CAScanWgt::setScaleUnits(int iUnits)
{
    m_current.eScaleUnits = ConfigSettings::EScaleUnits(iUnits != 0 ? 1 : 0);
    refresh(false);
    emitChanged();
}

void CAScanWgt::setDiscreteness(int iDiscreteness)
{
    m_current.eDiscreteness = ConfigSettings::EDiscreteness(iDiscreteness != 0 ? 1 : 0);
    showReadouts();
    emitChanged();
}

void CAScanWgt::setCursorOn(bool bOn)
{
    m_current.iCursor = bOn ? 1 : 0;
    refresh(false);
    emitChanged();
}

void CAScanWgt::setTestingMethod(int iMethod)
{
    m_current.eTestingMethod = ConfigSettings::ETestingMethod(iMethod != 0 ? 1 : 0);
    if (m_current.iBaseMode != 0)
        m_current.setBaseVelocityFromTime(m_current.fMeasuredTime);
    refresh(false);
    emitChanged();
}

void CAScanWgt::setVelocity(int iVelocity)
{
    m_current.iVelocity = qint16(qBound(500, iVelocity, 15000));
    refresh(false);
    emitChanged();
}

void CAScanWgt::setBase(bool bOn, double dBase)
{
    m_current.iBaseMode = bOn ? 1 : 0;
    if (bOn) {
        m_current.dBase = dBase;
        m_current.setBaseVelocityFromTime(m_current.fMeasuredTime);
    }
    refresh(false);
    emitChanged();
}

QImage CAScanWgt::displayImage() const
{
    return frameAScan->picture().copy();
}

QImage CAScanWgt::verticalScaleImage() const
{
    return ascanVerScale->grab().toImage();
}

QImage CAScanWgt::horizontalScaleImage() const
{
    return ascanHorScale->grab().toImage();
}

QImage CAScanWgt::readoutsImage() const
{
    return wgt_readouts->grab().toImage();
}

QImage CAScanWgt::renderImage() const
{
    const QImage display = displayImage();
    const QImage ver = verticalScaleImage();
    const QImage hor = horizontalScaleImage();
    const QImage readouts = readoutsImage();
    const int w = qMax(ver.width() + display.width(), readouts.width());
    const int h = readouts.height() + display.height() + hor.height();
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, readouts);
    p.drawImage(0, readouts.height(), ver);
    p.drawImage(ver.width(), readouts.height(), display);
    p.drawImage(ver.width(), readouts.height() + display.height(), hor);
    return out;
}
