#include "ascan/ascanreport.h"

#include "ascan/reportpictures.h"

#include <QPainter>

QString AScanReport::writeSettingsTable(const QList<ReportRow>& rows)
{
    QString html = QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=%1 BORDER CELLSPACING=\"0\" CELLPADDING=\"1\">\n")
                       .arg(ReportHtml::kAScanWidth);
    for (const ReportRow& row : rows)
        html += ReportHtml::writeSettingsRow(row);
    html += QStringLiteral("</TABLE>\n");
    return html;
}

QString AScanReport::writeAScanReport(const AScanReportData& data, const QString& strPicturePath)
{
    QString html = ReportHtml::writeReportHeader(data.title, data.logoPath, ReportHtml::kAScanWidth);
    if (!strPicturePath.isEmpty())
        html += ReportHtml::writePictureBlock(strPicturePath, ReportHtml::kAScanWidth);
    html += ReportHtml::writeSettingsHeading(data.setupName);
    html += writeSettingsTable(data.rows);
    return html;
}

QString AScanReport::pictureFileName(int iNumber)
{
    return QStringLiteral("temp%1.jpg").arg(iNumber);
}

ReportBuild AScanReport::build(const AScanReportData& data, ReportPictureStore& store, int iNumber)
{
    ReportBuild result;
    const QString name = pictureFileName(iNumber);
    result.picturePath = store.save(data.picture, name);
    if (result.picturePath.isEmpty()) {
        const QString shownPath = store.isValid() ? store.pathFor(name) : name;
        result.warning = ReportHtml::pictureNotSavedText(shownPath);
    }
    result.html = writeAScanReport(data, result.picturePath);
    return result;
}

QImage AScanReport::composePicture(const AScanPictureParts& parts)
{
    const int m = kPictureMargin;
    // Each part takes its size plus one pixel of frame on every side.
    auto framed = [](const QImage& image) { return image.isNull() ? QSize(0, 0) : image.size() + QSize(2, 2); };
    const QSize display = framed(parts.display);
    const QSize vertical = framed(parts.verticalScale);
    const QSize horizontal = framed(parts.horizontalScale);
    const QSize readouts = framed(parts.readouts);

    if (display.isEmpty() && vertical.isEmpty() && horizontal.isEmpty() && readouts.isEmpty())
        return QImage();
    const int left = m + (vertical.isEmpty() ? 0 : vertical.width() + m);
    const int top = m + (readouts.isEmpty() ? 0 : readouts.height() + m);
    // The horizontal scale runs under the drawing; the vertical one may reach lower.
    const int scaleTop = top + (display.isEmpty() ? 0 : display.height() + m);
    const int bottom = qMax(top + vertical.height(), horizontal.isEmpty() ? top + display.height()
                                                                           : scaleTop + horizontal.height());
    const int width = qMax(left + qMax(display.width(), horizontal.width()), m + readouts.width()) + m;
    const int height = bottom + m;

    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return QImage();
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 1));
    auto place = [&painter](const QImage& image, int x, int y) {
        if (image.isNull())
            return;
        painter.drawImage(x + 1, y + 1, image);
        painter.drawRect(x, y, image.width() + 1, image.height() + 1);
    };
    place(parts.readouts, m, m);
    place(parts.verticalScale, m, top);
    place(parts.display, left, top);
    place(parts.horizontalScale, left, scaleTop);
    return picture;
}
