#pragma once
// Sample numbers of a map signal against depths in metres, by the map's settings.

#include "ascan/configsettings.h"

//! Depth in metres reached at sample n: n × 10 / S × v / 1000, halved in reflection, / 1000.
//! 0 when the sampling rate or the velocity is not positive.
double sampleToDepth(const ConfigSettings& settings, double n);

//! Sample of depth d (metres): d × 1000 / v × 1000, doubled in reflection, × S / 10, rounded
//! with floor(x + 0.5) and held to the int range. 0 for a non-positive rate or velocity or NaN.
int depthToSample(const ConfigSettings& settings, double d);
