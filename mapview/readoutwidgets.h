#pragma once
// Pieces shared by the read-out widgets: their labels and seven-segment displays.

#include <QString>

class QLCDNumber;
class QLabel;
class QWidget;

namespace ReadoutWidgets {

//! A label in a point size, between two widths.
QLabel* label(QWidget* parent, const QString& strObjectName, int iPointSize, int iMinWidth, int iMaxWidth);
//! A flat seven-segment display of iDigits digits, between two widths.
QLCDNumber* lcd(QWidget* parent, const QString& strObjectName, int iDigits, int iMinWidth, int iMaxWidth);
//! Shows a text, widening the display when the text needs more than iDigits places.
void display(QLCDNumber* pLcd, const QString& strText, int iDigits);

} // namespace ReadoutWidgets
