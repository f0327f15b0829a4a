#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class CWgtDigitsDisplay;
class CWgtExtDigDisplay;

//! The read-outs of cursor mode, left to right: X and Y (metres and probe position number),
//! Z (metres) and the amplitude A (dB).
class CWgtDisplaysStd : public QWidget
{
    Q_OBJECT

public:
    explicit CWgtDisplaysStd(QWidget* parent = nullptr);

    void setX(double dMetres, int iPositionNumber);
    void setY(double dMetres, int iPositionNumber);
    void setZ(double dMetres);
    void setAmplitude(int iDb);
    //! Values back to 0; the position numbers stay.
    void clear();

    CWgtExtDigDisplay* displayX() const { return wgt_displayX; }
    CWgtExtDigDisplay* displayY() const { return wgt_displayY; }
    CWgtDigitsDisplay* displayZ() const { return wgt_displayZ; }
    CWgtDigitsDisplay* displayA() const { return wgt_displayA; }

    //! Report texts in the order X, Y, Z, A: two for X and Y (coordinate, position number),
    //! one for Z and A.
    QList<QStringList> reportTexts() const;
    void retranslate();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CWgtExtDigDisplay* wgt_displayX = nullptr;
    CWgtExtDigDisplay* wgt_displayY = nullptr;
    CWgtDigitsDisplay* wgt_displayZ = nullptr;
    CWgtDigitsDisplay* wgt_displayA = nullptr;
};
