#pragma once

#include <QMetaType>

//! Interface language; stored as an integer under the "DefLang" key.
enum ECurrentLanguage { Russian = 0, English = 1 };

Q_DECLARE_METATYPE(ECurrentLanguage)
