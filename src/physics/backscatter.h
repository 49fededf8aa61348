// Spectrum-weighted backscatter factor of a square or circular field on a soft-tissue phantom.
// The differential table gives the backscatter of each 1 mm ring; rings are weighted by the
// inverse square of their distance from the focus and by the fraction of the ring inside the field.
#pragma once

#include "energy_grid.h"
#include "field_shape.h"
#include "reference_data.h"

namespace ordevo {

struct BackscatterInputs {
    double tubeVoltageKv = 0;             // upper end of the range
    const BinArray* spectrum = nullptr;   // XraySpectrum
    double phantomSurfaceDistanceCm = 0;  // d0
    double fieldSizeCm = 0;               // side or diameter at the phantom surface
    FieldShape shape = FieldShape::None;  // anything but Square takes the circle branch
};

// Throws CalculationError (zero total weight, a grid index past 31, a ring past 300,
// a zero half-width where a ring must be split).
double ComputeBackscatterFactor(const ReferenceData& ref, const BackscatterInputs& in);

}  // namespace ordevo
