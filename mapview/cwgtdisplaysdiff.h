#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class CWgtDblDigDisplay;
class CWgtDigitsDisplay;

//! The read-outs of measuring mode, left to right: start and length of the box along X, Y and
//! Z (metres) and its largest amplitude A (dB).
class CWgtDisplaysDiff : public QWidget
{
    Q_OBJECT

public:
    explicit CWgtDisplaysDiff(QWidget* parent = nullptr);

    void setX(double dStart, double dLength);
    void setY(double dStart, double dLength);
    void setZ(double dStart, double dLength);
    void setAmplitude(int iDb);
    //! Every value back to 0.
    void clear();

    CWgtDblDigDisplay* displayX() const { return wgt_displayX; }
    CWgtDblDigDisplay* displayY() const { return wgt_displayY; }
    CWgtDblDigDisplay* displayZ() const { return wgt_displayZ; }
    CWgtDigitsDisplay* displayA() const { return wgt_displayA; }

    //! Report texts in the order X, Y, Z (start and length each), A.
    QList<QStringList> reportTexts() const;
    void retranslate();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CWgtDblDigDisplay* wgt_displayX = nullptr;
    CWgtDblDigDisplay* wgt_displayY = nullptr;
    CWgtDblDigDisplay* wgt_displayZ = nullptr;
    CWgtDigitsDisplay* wgt_displayA = nullptr;
};
