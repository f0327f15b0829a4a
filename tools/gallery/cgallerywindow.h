#pragma once

#include <QWidget>

class QLabel;
class QScaleFrame;

//! One page showing every control widget as the views use them: rulers around a scan picture
//! and an A-scan, the brightness spin box, a counter, the slice scroll bars, the layer-limit
//! controls and the bare slider and slide bar. Values picked are echoed in a status line.
class CGalleryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CGalleryWindow(QWidget* parent = nullptr);

private:
    QWidget* makeScanPanel();
    QWidget* makeAScanPanel();
    QWidget* makeInputsPanel();
    QWidget* makeSlidersPanel();
    void report(const QString& strText);

    QLabel* lbl_status = nullptr;
};
