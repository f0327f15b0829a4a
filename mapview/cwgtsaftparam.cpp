#include "mapview/cwgtsaftparam.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kMinDepth = 0;
constexpr int kMaxDepth = 35000;
constexpr double kMinVelocity = 0.5;
constexpr double kMaxVelocity = 15.0;
constexpr double kFallbackVelocity = 2.6;
constexpr int kFrequencyStep = 5;
constexpr int kBandwidthStep = 25;

// A value off the spin box's grid goes back to the record's value; when that is off the grid
// too (a record from an edited file), to the nearest grid value, so the arrows still move.
int gridValue(int iValue, int iRecordValue, int iStep, const QSpinBox* box)
{
    if (iRecordValue % iStep == 0)
        return iRecordValue;
    const int snapped = int(std::floor(double(iValue) / iStep + 0.5)) * iStep;
    const int first = (box->minimum() + iStep - 1) / iStep * iStep;
    const int last = box->maximum() / iStep * iStep;
    return qBound(first, snapped, last);
}
} // namespace

CWgtSAFTparam::CWgtSAFTparam(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CWgtSAFTparam"));
    setupUi();
    retranslateUi();
    showRecord(m_current);

    connect(btn_reset, &QPushButton::clicked, this, &CWgtSAFTparam::slot_btn_reset_clicked);
    connect(btn_run, &QPushButton::clicked, this, &CWgtSAFTparam::slot_btn_run_clicked);
    connect(spb_freq, &QSpinBox::valueChanged, this, &CWgtSAFTparam::slot_frequencyChanged);
    connect(spb_bandwidth, &QSpinBox::valueChanged, this, &CWgtSAFTparam::slot_bandwidthChanged);
    connect(chb_viewSAFT, &QCheckBox::toggled, this, &CWgtSAFTparam::slot_chb_SAFT_toggled);
}

void CWgtSAFTparam::setupUi()
{
    resize(330, 400);
    auto* verticalLayout = new QVBoxLayout(this);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    grpb_saftparam = new QGroupBox(this);
    grpb_saftparam->setObjectName(QStringLiteral("grpb_saftparam"));
    grpb_saftparam->setAlignment(Qt::AlignHCenter);
    QFont titleFont = grpb_saftparam->font();
    titleFont.setPointSize(14);
    grpb_saftparam->setFont(titleFont);
    verticalLayout->addWidget(grpb_saftparam);

    QFont fieldFont = font();
    fieldFont.setPointSize(11);

    auto* gridLayout = new QGridLayout(grpb_saftparam);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setContentsMargins(14, 18, 14, 14);
    gridLayout->setHorizontalSpacing(12);
    gridLayout->setVerticalSpacing(10);
    gridLayout->setColumnStretch(0, 3);
    gridLayout->setColumnStretch(1, 2);

    int row = 0;
    auto addRow = [&](QLabel*& label, const char* labelName, QWidget* field) {
        label = new QLabel(grpb_saftparam);
        label->setObjectName(QLatin1String(labelName));
        label->setFont(fieldFont);
        field->setFont(fieldFont);
        field->setMinimumHeight(28);
        gridLayout->addWidget(label, row, 0);
        gridLayout->addWidget(field, row, 1);
        ++row;
    };
    auto makeSpinBox = [this](const char* name, int iMin, int iMax, int iStep) {
        auto* box = new QSpinBox(grpb_saftparam);
        box->setObjectName(QLatin1String(name));
        box->setRange(iMin, iMax);
        box->setSingleStep(iStep);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A typed value is judged when the entry is finished, not digit by digit.
        box->setKeyboardTracking(false);
        return box;
    };

    edt_depth = new QLineEdit(grpb_saftparam);
    edt_depth->setObjectName(QStringLiteral("edt_depth"));
    edt_depth->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addRow(lbl_depth, "lbl_depth", edt_depth);

    edt_velocity = new QLineEdit(grpb_saftparam);
    edt_velocity->setObjectName(QStringLiteral("edt_velocity"));
    edt_velocity->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addRow(lbl_velocity, "lbl_velocity", edt_velocity);

    spb_freq = makeSpinBox("spb_freq", 25, 250, kFrequencyStep);
    addRow(lbl_freq, "lbl_freq", spb_freq);
    spb_bandwidth = makeSpinBox("spb_bandwidth", 25, 100, kBandwidthStep);
    addRow(lbl_bandwidth, "lbl_bandwidth", spb_bandwidth);
    spb_tcg = makeSpinBox("spb_tcg", 0, 30, 1);
    addRow(lbl_tcg, "lbl_tcg", spb_tcg);

    chb_comp_sw = new QCheckBox(grpb_saftparam);
    chb_comp_sw->setObjectName(QStringLiteral("chb_comp_sw"));
    addRow(lbl_comp_sw, "lbl_comp_sw", chb_comp_sw);

    chb_viewSAFT = new QCheckBox(grpb_saftparam);
    chb_viewSAFT->setObjectName(QStringLiteral("chb_viewSAFT"));
    chb_viewSAFT->setChecked(true);
    addRow(lbl_viewSAFT, "lbl_viewSAFT", chb_viewSAFT);

    gridLayout->setRowStretch(row++, 1);

    auto* horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(12);
    btn_run = new QPushButton(grpb_saftparam);
    btn_run->setObjectName(QStringLiteral("btn_run"));
    btn_reset = new QPushButton(grpb_saftparam);
    btn_reset->setObjectName(QStringLiteral("btn_reset"));
    for (QPushButton* button : {btn_run, btn_reset}) {
        button->setFont(fieldFont);
        button->setMinimumHeight(32);
        horizontalLayout->addWidget(button);
    }
    gridLayout->addLayout(horizontalLayout, row, 0, 1, 2);
}

void CWgtSAFTparam::retranslateUi()
{
    grpb_saftparam->setTitle(tr("Processing Settings"));
    lbl_depth->setText(tr("Depth, mm"));
    lbl_velocity->setText(tr("Velocity, m/s"));
    lbl_freq->setText(tr("Frequency, KHz"));
    lbl_bandwidth->setText(tr("Bandwidth, %"));
    lbl_tcg->setText(tr("TCG, dB/m"));
    lbl_comp_sw->setText(tr("Filter SW"));
    lbl_viewSAFT->setText(tr("SAFT"));
    btn_run->setText(tr("Execute"));
    btn_reset->setText(tr("Reset"));
}

void CWgtSAFTparam::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void CWgtSAFTparam::setParameters(const SAFTsettings& defaults, const SAFTsettings& current,
                                  EScanProcessing eViewing, bool bProcessingAvailable)
{
    m_defaults = defaults;
    m_current = current;
    m_bProcessingAvailable = bProcessingAvailable;
    showRecord(m_current);
    setViewingMode(eViewing);
    lbl_viewSAFT->setEnabled(bProcessingAvailable);
    chb_viewSAFT->setEnabled(bProcessingAvailable);
    lbl_viewSAFT->setVisible(bProcessingAvailable);
    chb_viewSAFT->setVisible(bProcessingAvailable);
}

void CWgtSAFTparam::setViewingMode(EScanProcessing eViewing)
{
    m_eViewing = eViewing;
    const QSignalBlocker blocker(chb_viewSAFT);
    chb_viewSAFT->setChecked(eViewing == ProcessedView);
}

int CWgtSAFTparam::depthLayers(int iDepthMm)
{
    return int(std::floor(iDepthMm / 5.0 + 0.5));
}

int CWgtSAFTparam::velocityToMetresPerSecond(double dVelocity)
{
    return int(std::floor(dVelocity * 1000.0 + 0.5));
}

void CWgtSAFTparam::showRecord(const SAFTsettings& s)
{
    edt_depth->setText(QString::number(s.depth));
    edt_velocity->setText(QString::number(velocityToMetresPerSecond(s.velocity)));
    // The record is shown as it is; the grid rules apply to what the user enters.
    const QSignalBlocker freqBlocker(spb_freq);
    const QSignalBlocker bandBlocker(spb_bandwidth);
    spb_freq->setValue(s.frequency);
    spb_bandwidth->setValue(s.bandwidth);
    spb_tcg->setValue(s.tcg);
    chb_comp_sw->setChecked(s.filterSW);
}

void CWgtSAFTparam::readWidgets()
{
    bool ok = false;
    int depth = edt_depth->text().toInt(&ok, 10);
    if (ok) {
        if (depth < kMinDepth || depth > kMaxDepth)
            depth = 0;
        // Fewer than two layers leave nothing to reconstruct: the previous depth stays.
        if (depthLayers(depth) >= kMinDepthLayers)
            m_current.depth = depth;
    }

    const int metresPerSecond = edt_velocity->text().toInt(&ok, 10);
    if (ok) {
        const double velocity = metresPerSecond / 1000.0;
        m_current.velocity = (velocity < kMinVelocity || velocity > kMaxVelocity) ? kFallbackVelocity : velocity;
    }

    m_current.frequency = spb_freq->value();
    m_current.bandwidth = spb_bandwidth->value();
    m_current.tcg = spb_tcg->value();
    m_current.filterSW = chb_comp_sw->isChecked();
}

void CWgtSAFTparam::slot_frequencyChanged(int iValue)
{
    if (iValue % kFrequencyStep != 0)
        spb_freq->setValue(gridValue(iValue, m_current.frequency, kFrequencyStep, spb_freq));
}

void CWgtSAFTparam::slot_bandwidthChanged(int iValue)
{
    if (iValue % kBandwidthStep != 0)
        spb_bandwidth->setValue(gridValue(iValue, m_current.bandwidth, kBandwidthStep, spb_bandwidth));
}

void CWgtSAFTparam::slot_chb_SAFT_toggled(bool bChecked)
{
    m_eViewing = bChecked ? ProcessedView : RawView;
    emit viewingModeChanged(m_eViewing);
}

void CWgtSAFTparam::slot_btn_reset_clicked()
{
    m_current = m_defaults;
    showRecord(m_current);
}

void CWgtSAFTparam::slot_btn_run_clicked()
{
    readWidgets();
    showRecord(m_current);
    emit executeProcessing();
}
