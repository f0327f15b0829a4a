#pragma once

#include <QMetaType>

//! Interface language; stored as an integer under the "DefLang" key. The underlying type is
//! fixed because a stored value is taken as read, without a range check.
enum ECurrentLanguage : int { Russian = 0, English = 1 };

Q_DECLARE_METATYPE(ECurrentLanguage)
