// Soft tissue as a material of the photon Monte Carlo.
#include "tissue_interactions.h"

#include "materials.h"
#include "reference_tables.h"

namespace ordevo::refdata {

MaterialComposition SoftTissueComposition() {
    return MaterialComposition{
        .Name = "ICRU-44 soft tissue",
        .Elements = {kSoftTissueElements.begin(), kSoftTissueElements.end()},
        .Density = kSoftTissueDensity,
        .MuEnOverRho = TissueMuEnOverRho,
    };
}

TissueInteractions::TissueInteractions() : MaterialInteractions(SoftTissueComposition()) {}

}  // namespace ordevo::refdata
