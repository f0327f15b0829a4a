#pragma once
// The instrument's own little-endian settings block, found in A-scan files and map
// configuration files right after a 64-byte text field.

#include "ascan/configsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

//! Block size without (older format) and with the trailing base velocity.
inline constexpr int kInstrumentBlockSize = 0x90;
inline constexpr int kInstrumentBlockSize34 = 0x95;
//! Length of the text field that precedes the block.
inline constexpr int kInstrumentTextSize = 64;

//! The format carries the base velocity from version 3.4 on.
bool isVersion34OrLater(int major, int minor);

//! Fills the fields the block carries into settings and leaves the others unchanged.
//! Bytes missing at the end of a short block read as zero. Returns the bytes used counted
//! from the start of the preceding text: 0xD0, or 0xD5 with the base velocity.
int parseInstrumentBlock(QByteArrayView block, bool bVersion34, ConfigSettings& settings);

//! The inverse, for writing files in the instrument's layout: 0x90 or 0x95 bytes, unread
//! bytes zero. Values are rounded to the block's units and clamped to what they can hold.
QByteArray encodeInstrumentBlock(const ConfigSettings& settings, bool bVersion34);

//! A 64-byte text field: UTF-8 ending at the first zero byte, at most 63 bytes used.
QString instrumentText(QByteArrayView field);

//! The field for a text: its UTF-8 cut to 63 bytes (never inside a character), zero-padded.
QByteArray encodeInstrumentText(const QString& text);
