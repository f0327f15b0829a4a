#include "tools/gallery/cgallerywindow.h"

#include "widgets/cscrollbar.h"
#include "widgets/cslidebar.h"
#include "widgets/cslidercontrol.h"
#include "widgets/cwgtscrollbars.h"
#include "widgets/cwgtslidercontrol.h"
#include "widgets/myslider.h"
#include "widgets/myspinbox.h"
#include "widgets/qscaleframe.h"
#include "widgets/qvertcounter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kScaleThickness = 34; // horizontal rulers' height
constexpr int kScaleWidth = 52; // vertical rulers' width
constexpr int kTickLength = 7;

// A blue-to-red ramp, enough to make the demonstration picture read like a scan.
QRgb rampColour(double t)
{
    static const QColor stops[] = {QColor(0, 0, 96), QColor(0, 64, 255), QColor(0, 200, 255),
                                   QColor(64, 255, 96), QColor(255, 240, 0), QColor(255, 96, 0),
                                   QColor(200, 0, 0)};
    const int n = int(std::size(stops)) - 1;
    const double x = std::clamp(t, 0.0, 1.0) * n;
    const int i = std::min(int(x), n - 1);
    const double f = x - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return qRgb(int(a.red() + (b.red() - a.red()) * f), int(a.green() + (b.green() - a.green()) * f),
                int(a.blue() + (b.blue() - a.blue()) * f));
}

// A plane seen from above: a few reflectors of different strength over a grainy background.
QImage makeScanPicture(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    struct Blob { double x, y, r, a; };
    const Blob blobs[] = {{0.28, 0.35, 0.07, 1.0}, {0.62, 0.58, 0.11, 0.75}, {0.82, 0.22, 0.05, 0.55},
                          {0.45, 0.8, 0.06, 0.4}};
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double u = double(x) / size.width();
            const double v = double(y) / size.height();
            double s = 0.12 + 0.05 * std::sin(u * 37.0 + v * 11.0) * std::cos(v * 23.0 - u * 5.0);
            for (const Blob& b : blobs) {
                const double d2 = ((u - b.x) * (u - b.x) + (v - b.y) * (v - b.y)) / (b.r * b.r);
                s += b.a * std::exp(-d2);
            }
            image.setPixel(x, y, rampColour(s));
        }
    }
    return image;
}

// An A-scan: probe pulse, an echo from a flaw and a back-wall echo, drawn over a grid.
QImage makeAScanPicture(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(16, 24, 32));
    QPainter p(&image);
    p.setPen(QPen(QColor(60, 76, 92), 1, Qt::DotLine));
    for (int i = 1; i < 5; ++i) {
        const int x = i * (size.width() - 1) / 5;
        p.drawLine(x, 0, x, size.height() - 1);
        const int y = i * (size.height() - 1) / 4;
        p.drawLine(0, y, size.width() - 1, y);
    }
    QPainterPath path;
    for (int x = 0; x < size.width(); ++x) {
        const double t = double(x) / (size.width() - 1);
        auto echo = [t](double at, double width, double amplitude) {
            const double d = (t - at) / width;
            return amplitude * std::exp(-d * d) * std::abs(std::cos(d * 6.0));
        };
        const double a = echo(0.03, 0.025, 0.95) + echo(0.38, 0.02, 0.55) + echo(0.8, 0.025, 0.8)
            + 0.02 * std::abs(std::sin(t * 310.0));
        const double y = (size.height() - 1) * (1.0 - std::min(a, 1.0));
        if (x == 0)
            path.moveTo(x, y);
        else
            path.lineTo(x, y);
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 220, 64), 1.4));
    p.drawPath(path);
    return image;
}

QScaleFrame* makeScale(QWidget* parent, int iPosition, const QString& strName, const QString& strUnit,
                       double dStart, double dSpan, double dStep, double dMinor)
{
    auto* scale = new QScaleFrame(parent);
    scale->setPosition(iPosition);
    scale->setTickLength(kTickLength);
    scale->setName(strName);
    scale->setUnit(strUnit);
    scale->setRange(dStart, dSpan);
    scale->setTicks(0.0, dStep, dMinor);
    if (scale->isHorizontal())
        scale->setFixedHeight(kScaleThickness);
    else
        scale->setFixedWidth(kScaleWidth);
    return scale;
}

QLabel* makePicture(QWidget* parent, const QImage& image)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap::fromImage(image));
    label->setFixedSize(image.size());
    label->setFrameShape(QFrame::NoFrame);
    return label;
}

QLabel* makeCaption(const QString& strText, QWidget* parent)
{
    auto* label = new QLabel(strText, parent);
    QFont f = label->font();
    f.setPointSize(9);
    label->setFont(f);
    label->setStyleSheet(QStringLiteral("color: #505860;"));
    return label;
}

} // namespace

CGalleryWindow::CGalleryWindow(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Vantar 4.0 - control widgets"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    grid->addWidget(makeSlidersPanel(), 0, 0, 2, 1);
    grid->addWidget(makeScanPanel(), 0, 1);
    grid->addWidget(makeInputsPanel(), 0, 2);
    grid->addWidget(makeAScanPanel(), 1, 1, 1, 2);

    lbl_status = new QLabel(this);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    lbl_status->setFrameShape(QFrame::StyledPanel);
    lbl_status->setMinimumHeight(24);
    grid->addWidget(lbl_status, 2, 0, 1, 3);
    report(tr("Drag a handle, press a button or type a value."));
}

QWidget* CGalleryWindow::makeSlidersPanel()
{
    auto* box = new QGroupBox(tr("Slices and layer limits"), this);
    auto* row = new QHBoxLayout(box);
    row->setSpacing(14);

    auto* bars = new CWgtScrollBars(box);
    bars->setObjectName(QStringLiteral("wgt_scrollBars"));
    const int points[4] = {0, 60, 48, 40}; // by scan index: 1 C (Z), 2 D (X), 3 B (Y)
    const int slices[4] = {0, 12, 30, 21};
    for (int scan = 1; scan <= 3; ++scan) {
        bars->setRange(scan, 0, points[scan] - 1);
        bars->setStep(scan, 1);
        bars->setValue(scan, slices[scan]);
    }
    connect(bars, &CWgtScrollBars::cscanValueChanged, this,
            [this](int v) { report(tr("C-scan slice %1 (Z = %2 mm)").arg(v).arg(v * 5)); });
    connect(bars, &CWgtScrollBars::bscanValueChanged, this,
            [this](int v) { report(tr("B-scan slice %1 (Y = %2 mm)").arg(v).arg(v * 5)); });
    connect(bars, &CWgtScrollBars::dscanValueChanged, this,
            [this](int v) { report(tr("D-scan slice %1 (X = %2 mm)").arg(v).arg(v * 5)); });

    auto* limits = new CWgtSliderControl(box);
    limits->setObjectName(QStringLiteral("wgt_sliderControl"));
    const int lower[4] = {0, 8, 6, 0};
    const int upper[4] = {0, 44, 40, 39};
    for (int scan = 1; scan <= 3; ++scan) {
        limits->setRange(scan, 0, points[scan] - 1, 2);
        limits->setValues(scan, lower[scan], upper[scan]);
    }
    auto reportLimits = [this](const QString& scan) {
        return [this, scan](int lo, int hi) { report(tr("%1 layers %2 ... %3").arg(scan).arg(lo).arg(hi)); };
    };
    connect(limits, &CWgtSliderControl::cscanValuesChanged, this, reportLimits(tr("C-scan")));
    for (auto [signal, scan] : {std::pair{&CWgtSliderControl::cscanMinValueChanged, tr("C-scan lower")},
                                std::pair{&CWgtSliderControl::cscanMaxValueChanged, tr("C-scan upper")},
                                std::pair{&CWgtSliderControl::bscanMinValueChanged, tr("B-scan lower")},
                                std::pair{&CWgtSliderControl::bscanMaxValueChanged, tr("B-scan upper")},
                                std::pair{&CWgtSliderControl::dscanMinValueChanged, tr("D-scan lower")},
                                std::pair{&CWgtSliderControl::dscanMaxValueChanged, tr("D-scan upper")}}) {
        connect(limits, signal, this, [this, scan](int v) { report(tr("%1 layer limit %2").arg(scan).arg(v)); });
    }

    auto column = [&](QWidget* w, const QString& caption) {
        auto* c = new QVBoxLayout;
        c->setSpacing(4);
        c->addWidget(makeCaption(caption, box), 0, Qt::AlignHCenter);
        c->addWidget(w, 1);
        return c;
    };
    row->addLayout(column(bars, tr("CWgtScrollBars")));
    row->addLayout(column(limits, tr("CWgtSliderControl")));
    return box;
}

QWidget* CGalleryWindow::makeScanPanel()
{
    auto* box = new QGroupBox(tr("Axis scales around a C-scan"), this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(0);
    const QSize pictureSize(420, 280);
    grid->addWidget(makeScale(box, 1, tr("X"), tr("m"), 0.0, 1.2, 0.25, 0.125), 0, 1);
    grid->addWidget(makeScale(box, 0, tr("Y"), tr("m"), 0.0, 0.8, 0.1, 0.05), 1, 0);
    grid->addWidget(makePicture(box, makeScanPicture(pictureSize)), 1, 1);
    QScaleFrame* right = makeScale(box, 2, tr("Z"), tr("m"), 0.0, 0.5, 0.1, 0.05);
    right->setDirection(-1);
    right->setLabelAlignment(1);
    right->setCaptionSide(0);
    grid->addWidget(right, 1, 2);
    QScaleFrame* below = makeScale(box, 3, QString(), tr("mm"), -40.0, 1240.0, 200.0, 50.0);
    below->setCaptionSide(0);
    grid->addWidget(below, 2, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    auto* note = makeCaption(tr("Above: X 0 ... 1.2 m, step 0.25. Left: Y, 0.1. Right: Z with direction -1, "
                                "caption at the start. Below: origin 0 over -40 ... 1200 mm."),
                             box);
    note->setWordWrap(true);
    grid->addWidget(note, 3, 0, 1, 3);
    return box;
}

QWidget* CGalleryWindow::makeAScanPanel()
{
    auto* box = new QGroupBox(tr("A-scan rulers, slider and slide bar"), this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(0);
    const QSize pictureSize(730, 170);
    QScaleFrame* amplitude = makeScale(box, 0, QString(), tr("%"), 0.0, 100.0, 25.0, 12.5);
    amplitude->setDirection(-1);
    grid->addWidget(amplitude, 0, 0);
    grid->addWidget(makePicture(box, makeAScanPicture(pictureSize)), 0, 1);
    grid->addWidget(makeScale(box, 3, tr("Depth"), tr("mm"), 0.0, 250.0, 50.0, 10.0), 1, 1);

    auto* window = new MySlider(box, 1, 100);
    window->setObjectName(QStringLiteral("ms_window"));
    window->setFixedHeight(22);
    window->setValue(35);
    connect(window, &MySlider::valueChanged, this, [this](int v) { report(tr("MySlider value %1").arg(v)); });
    grid->addWidget(makeCaption(tr("MySlider"), box), 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(window, 2, 1);
    grid->setRowMinimumHeight(2, 34);

    auto* gate = new CSlidebar(box, 1, 250, 10);
    gate->setObjectName(QStringLiteral("frm_gate"));
    gate->setFrameShape(QFrame::StyledPanel);
    gate->setFixedHeight(22);
    gate->setLimits(80, 120);
    connect(gate, &CSlidebar::bottomLimitChanged, this, [this](int v) { report(tr("CSlidebar lower limit %1").arg(v)); });
    connect(gate, &CSlidebar::topLimitChanged, this, [this](int v) { report(tr("CSlidebar upper limit %1").arg(v)); });
    grid->addWidget(makeCaption(tr("CSlidebar"), box), 3, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(gate, 3, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget* CGalleryWindow::makeInputsPanel()
{
    auto* box = new QGroupBox(tr("Counters and spin box"), this);
    auto* column = new QVBoxLayout(box);
    column->setSpacing(6);

    auto* brightnessRow = new QHBoxLayout;
    brightnessRow->setSpacing(4);
    auto* icon = new QLabel(box);
    icon->setPixmap(QPixmap(QStringLiteral(":/vantar/images/contrast.png")).scaled(28, 28, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    brightnessRow->addWidget(icon);
    auto* brightness = new MySpinBox(box);
    brightness->setObjectName(QStringLiteral("myspb_brightness"));
    brightness->setValue(6);
    connect(brightness, &MySpinBox::valueChanged, this, [this](int v) { report(tr("Brightness %1 dB").arg(v)); });
    brightnessRow->addWidget(brightness);
    brightnessRow->addWidget(new QLabel(tr("dB"), box));
    brightnessRow->addStretch(1);
    column->addWidget(makeCaption(tr("MySpinBox, -40 ... 40 dB"), box));
    column->addLayout(brightnessRow);
    column->addSpacing(10);

    auto* counters = new QHBoxLayout;
    counters->setSpacing(16);
    auto addCounter = [&](double multiplier, bool precision, int value, const QString& caption) {
        auto* c = new QVBoxLayout;
        auto* counter = new QVertCounter(box);
        counter->setMultiplier(multiplier);
        counter->setPrecision(precision);
        counter->setRange(0, 200);
        counter->setCurrentValue(value);
        connect(counter, &QVertCounter::counterValueChanged, this,
                [this, caption](int v) { report(tr("%1: value %2").arg(caption).arg(v)); });
        c->addWidget(counter, 0, Qt::AlignHCenter);
        c->addWidget(makeCaption(caption, box), 0, Qt::AlignHCenter);
        counters->addLayout(c);
    };
    addCounter(5.0, false, 24, tr("x 5 mm"));
    addCounter(0.5, true, 25, tr("x 0.5, 2 dec."));
    addCounter(1.0, false, 0, tr("at minimum"));
    counters->addStretch(1);
    column->addWidget(makeCaption(tr("QVertCounter"), box));
    column->addLayout(counters);
    column->addSpacing(10);

    // The three label alignments of a vertical ruler, each beside a strip of the picture edge.
    auto* rulers = new QHBoxLayout;
    rulers->setSpacing(18);
    const QStringList alignments = {tr("above"), tr("centred"), tr("below")};
    for (int alignment = 0; alignment < 3; ++alignment) {
        auto* c = new QVBoxLayout;
        c->setSpacing(2);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        QScaleFrame* ruler = makeScale(box, 0, tr("Z"), tr("m"), 0.0, 0.25, 0.05, 0.025);
        ruler->setLabelAlignment(alignment);
        ruler->setFixedSize(kScaleWidth, 150);
        pair->addWidget(ruler);
        auto* edge = new QFrame(box);
        edge->setFixedSize(6, 150);
        edge->setAutoFillBackground(true);
        QPalette p = edge->palette();
        p.setColor(QPalette::Window, QColor(0, 40, 160));
        edge->setPalette(p);
        pair->addWidget(edge);
        c->addLayout(pair);
        c->addWidget(makeCaption(alignments.at(alignment), box), 0, Qt::AlignHCenter);
        rulers->addLayout(c);
    }
    rulers->addStretch(1);
    column->addWidget(makeCaption(tr("QScaleFrame label alignment"), box));
    column->addLayout(rulers);
    column->addStretch(1);
    return box;
}

void CGalleryWindow::report(const QString& strText)
{
    lbl_status->setText(QStringLiteral("  ") + strText);
}
