#pragma once
// The configuration file of a map: header, instrument settings, grid geometry and map name.

#include "ascan/configsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

//! What a map's configuration file holds. Multi-byte integers in the file are little-endian.
struct MapConfig
{
    Q_DECLARE_TR_FUNCTIONS(MapConfig)

public:
    //! At most this many bytes of the file are read.
    static constexpr int kReadLimit = 2048;
    //! A shorter file cannot be a map's configuration.
    static constexpr int kMinimumSize = 7;
    static constexpr int kSignatureOffset = 2;
    static constexpr int kTitleOffset = 6;
    static constexpr int kTextSize = 64;
    static constexpr int kBlockOffset = 70;
    static constexpr int kStepHOffset = 204;
    static constexpr int kStepVOffset = 206;
    static constexpr int kSizeHPresentOffset = 209;
    static constexpr int kSizeHOffset = 210;
    static constexpr int kSizeVPresentOffset = 211;
    static constexpr int kSizeVOffset = 212;
    static constexpr int kNameOffsetOld = 224;
    static constexpr int kNameOffsetNew = 229;
    //! Whole layout: the map name's 64 bytes end here.
    static constexpr int kLayoutSizeOld = kNameOffsetOld + kTextSize;
    static constexpr int kLayoutSizeNew = kNameOffsetNew + kTextSize;

    ConfigSettings settings;  // validated and repaired after reading
    QString title;            // configuration title, at most 63 bytes of UTF-8
    QString mapName;          // map name, at most 63 bytes of UTF-8
    int stepH = 0;            // horizontal probe step, mm
    int stepV = 0;            // vertical probe step, mm
    int sizeH = 0;            // horizontal size in points; 0 when not present
    int sizeV = 0;            // vertical size in points; 0 when not present
    bool newFormat = false;   // version 3.4 or later: name at 229, base velocity stored
    int versionMajor = 0;
    int versionMinor = 0;
    bool settingsRepaired = false; // validation had to repair a field of the settings

    //! Parses the first bytes of a configuration file (at most kReadLimit are looked at; a
    //! short file reads as if zero-filled to its layout). False with a message when fewer than
    //! kMinimumSize bytes are given or the signature is not the instrument's; out is then
    //! left as it was.
    static bool parse(QByteArrayView bytes, MapConfig& out, QString* error = nullptr);
    //! Reads the file at path and parses it; false with a message when it cannot be read.
    static bool read(const QString& path, MapConfig& out, QString* error = nullptr);

    //! The file as the instrument lays it out: kLayoutSizeNew or kLayoutSizeOld bytes by
    //! newFormat. The version bytes are versionMajor.versionMinor when they agree with
    //! newFormat, else 3.4 or 3.3; sizes above 255 are written as not present.
    QByteArray encode() const;

    //! Repairs the geometry as a map is opened: a step outside 10 … 1000 mm becomes 100, a
    //! non-zero size outside 1 … 100 becomes 5. True when nothing had to change.
    bool validateGeometry();
};
