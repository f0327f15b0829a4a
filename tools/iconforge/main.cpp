// vantar-iconforge: draws the program's icons, logos and window icon.
//
//   vantar-iconforge OUTDIR                    everything into one folder
//   vantar-iconforge IMAGES_DIR APPFOLDER_DIR  icons and About logo, then report logo and icon
//   vantar-iconforge --check IMAGES_DIR APPFOLDER_DIR
//                                              the files there are exactly what is drawn now
//   vantar-iconforge --sheet FILE.png          contact sheet: 1x on light and dark, disabled,
//                                              4x enlarged, logos

#include "icofile.h"
#include "icons.h"
#include "logos.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>

#include <cstdio>

using namespace Forge;

namespace {

struct Product
{
    QString name;
    bool bAppFolder = false; // belongs beside the executable, not into the resources
    QImage image;            // PNG or BMP products
    QByteArray bytes;        // the icon file
};

QList<Product> products()
{
    QList<Product> list;
    for (const IconSpec& spec : iconSpecs())
        list.append({spec.name, false, render(spec.px, spec.units, spec.draw), {}});
    list.append({"logo.bmp", false, aboutLogo(), {}});
    list.append({"Norvik_logo_bw.bmp", true, reportLogo(), {}});
    list.append({"norvik.ico", true, {}, icoFile(windowIconImages())});
    return list;
}

void complain(const QString& text)
{
    std::fprintf(stderr, "vantar-iconforge: %s\n", qPrintable(text));
}

// Reads an icon file back through Qt: every size must come out.
bool icoReadsBack(const QByteArray& bytes, QString* pError)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    const QList<QImage> expected = windowIconImages();
    if (reader.imageCount() != expected.size()) {
        *pError = QString("icon holds %1 images instead of %2")
                      .arg(reader.imageCount())
                      .arg(expected.size());
        return false;
    }
    for (int i = 0; i < expected.size(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        if (image.size() != expected[i].size()) {
            *pError = QString("icon image %1 reads back as %2x%3")
                          .arg(i)
                          .arg(image.width())
                          .arg(image.height());
            return false;
        }
    }
    return true;
}

QByteArray encoded(const Product& product)
{
    if (!product.bytes.isEmpty())
        return product.bytes;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    product.image.save(&buffer, product.name.endsWith(".bmp") ? "BMP" : "PNG");
    return bytes;
}

int writeAll(const QString& imagesDir, const QString& appDir)
{
    for (const QString& dir : {imagesDir, appDir}) {
        if (!QDir().mkpath(dir)) {
            complain("cannot create " + dir);
            return 1;
        }
    }
    QString error;
    for (const Product& product : products()) {
        const QByteArray bytes = encoded(product);
        if (!product.bytes.isEmpty() && !icoReadsBack(bytes, &error)) {
            complain(error);
            return 1;
        }
        const QString path = QDir(product.bAppFolder ? appDir : imagesDir).filePath(product.name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            complain("cannot write " + path);
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

int checkAll(const QString& imagesDir, const QString& appDir)
{
    int failures = 0;
    for (const Product& product : products()) {
        const QString path = QDir(product.bAppFolder ? appDir : imagesDir).filePath(product.name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            complain(path + ": missing");
            ++failures;
            continue;
        }
        const QByteArray bytes = file.readAll();
        QString error;
        if (!product.bytes.isEmpty()) {
            QList<QSize> sizes;
            for (const QImage& image : windowIconImages())
                sizes << image.size();
            if (!icoReadsBack(bytes, &error)) {
                complain(path + ": " + error);
                ++failures;
            } else if (QIcon(path).availableSizes() != sizes) {
                complain(path + ": a window icon made from it does not offer every size");
                ++failures;
            } else if (bytes != product.bytes) {
                complain(path + ": differs from what the generator draws; run it again");
                ++failures;
            }
            continue;
        }
        const QImage stored = QImage::fromData(bytes);
        const QImage::Format format = product.image.format();
        if (stored.isNull() || stored.size() != product.image.size()) {
            complain(path + ": unreadable or of the wrong size");
            ++failures;
        } else if (stored.convertToFormat(format) != product.image) {
            complain(path + ": differs from what the generator draws; run it again");
            ++failures;
        }
    }
    if (failures == 0)
        std::printf("all %lld images up to date\n", static_cast<long long>(products().size()));
    return failures == 0 ? 0 : 1;
}

// Roughly what a widget style does to the icon of a disabled button: grey, pulled towards
// the background.
QImage disabledLook(const QImage& image, const QColor& background)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const int bg = qGray(background.rgb());
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int g = (qGray(line[x]) * 3 + bg * 2) / 5;
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return out;
}

QImage enlarged(const QImage& image, int factor)
{
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int writeSheet(const QString& path)
{
    const QList<Product> all = products();
    QList<Product> icons;
    for (const Product& product : all)
        if (product.name.endsWith(".png"))
            icons << product;

    const QColor light(Qt::white), dark(0x3a, 0x3d, 0x41), window(0xef, 0xef, 0xef);
    const int tile = 40, margin = 16, columns = 4;
    const int cellW = 2 * 136 + 8, cellH = 128 + 30;
    const int stripW = int(icons.size()) * tile;
    const int gridRows = int((icons.size() + columns - 1) / columns);
    const int width = std::max(stripW, columns * cellW) + 2 * margin;
    const int height = margin + 3 * (tile + 18) + 10 + gridRows * cellH + 20 + 300 + margin;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xd8, 0xdb, 0xdf));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    p.setFont(font);

    int y = margin;
    auto strip = [&](const QString& caption, const QColor& background, bool bDisabled) {
        p.setPen(Qt::black);
        p.drawText(margin, y + 11, caption);
        y += 16;
        p.fillRect(margin, y, stripW, tile, background);
        for (int i = 0; i < icons.size(); ++i) {
            const QImage& image = icons[i].image;
            const QImage shown = bDisabled ? disabledLook(image, background) : image;
            p.drawImage(margin + i * tile + (tile - image.width()) / 2,
                        y + (tile - image.height()) / 2, shown);
        }
        y += tile + 2;
    };
    strip("1x on white", light, false);
    strip("1x on dark grey", dark, false);
    strip("1x greyed as a disabled button shows it, on a window background", window, true);
    y += 10;

    for (int i = 0; i < icons.size(); ++i) {
        const int x = margin + (i % columns) * cellW;
        const int top = y + (i / columns) * cellH;
        p.setPen(Qt::black);
        p.drawText(x, top + 11, icons[i].name);
        const QImage big = enlarged(icons[i].image, 4);
        p.fillRect(x, top + 16, 136, 136, light);
        p.fillRect(x + 136, top + 16, 136, 136, dark);
        p.drawImage(x + (136 - big.width()) / 2, top + 16 + (136 - big.height()) / 2, big);
        p.drawImage(x + 136 + (136 - big.width()) / 2, top + 16 + (136 - big.height()) / 2, big);
    }
    y += gridRows * cellH + 20;

    int x = margin;
    for (const Product& product : all) {
        if (!product.name.endsWith(".bmp"))
            continue;
        p.setPen(Qt::black);
        p.drawText(x, y + 11, product.name);
        p.drawImage(x, y + 16, product.image);
        x += product.image.width() + 24;
    }
    p.drawText(x, y + 11, "norvik.ico (16, 32, 48, 256 shown at 128)");
    int ix = x;
    for (const QImage& image : windowIconImages()) {
        const QImage shown = image.width() > 128
            ? image.scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : image;
        p.fillRect(ix, y + 16, shown.width(), shown.height(), light);
        p.drawImage(ix, y + 16, shown);
        p.fillRect(ix, y + 150, shown.width(), shown.height(), dark);
        p.drawImage(ix, y + 150, shown);
        ix += shown.width() + 8;
    }
    p.end();
    if (!sheet.save(path)) {
        complain("cannot write " + path);
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 2 && args[0] == "--sheet")
        return writeSheet(args[1]);
    if (args.size() == 3 && args[0] == "--check")
        return checkAll(args[1], args[2]);
    if (args.size() == 1 && !args[0].startsWith("--"))
        return writeAll(args[0], args[0]);
    if (args.size() == 2 && !args[0].startsWith("--"))
        return writeAll(args[0], args[1]);
    std::fprintf(stderr,
                 "usage: vantar-iconforge OUTDIR\n"
                 "       vantar-iconforge IMAGES_DIR APPFOLDER_DIR\n"
                 "       vantar-iconforge --check IMAGES_DIR APPFOLDER_DIR\n"
                 "       vantar-iconforge --sheet FILE.png\n");
    return 2;
}
