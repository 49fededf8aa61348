// Photon interactions in ICRU-44 soft tissue, the medium of every tally of the reference data.
#pragma once

#include "material_interactions.h"

namespace ordevo::refdata {

// ICRU-44 soft tissue with NIST μen/ρ of tissue for the kerma estimators.
MaterialComposition SoftTissueComposition();

class TissueInteractions : public MaterialInteractions {
public:
    TissueInteractions();  // reads xraylib; throws if a cross section is unavailable
};

}  // namespace ordevo::refdata
