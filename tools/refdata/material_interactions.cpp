// Tabulated interaction data of a material and the sampling of scattering angles.
#include "material_interactions.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "xraylib_access.h"

namespace ordevo::refdata {

namespace {

constexpr double kElectronRestEnergyKeV = 510.99895;  // CODATA 2018

}  // namespace

MaterialInteractions::MaterialInteractions(const MaterialComposition& material)
    : name_(material.Name), density_(material.Density), elements_(material.Elements) {
    const std::size_t elementCount = elements_.size();
    double fractionSum = 0;
    for (const ElementFraction& element : elements_) fractionSum += element.MassFraction;
    if (elementCount == 0 || std::abs(fractionSum - 1.0) > 1e-6 || !(density_ > 0))
        throw std::invalid_argument("material " + name_ +
                                    ": mass fractions must sum to 1 and the density be positive");
    scattering_.resize(elementCount);
    coherentCumulative_.resize(elementCount);
    const auto energyCount =
        static_cast<std::size_t>(std::lround((kMaxEnergyKeV - kMinEnergyKeV) / kEnergyStepKeV)) + 2;
    points_.resize(energyCount);
    for (std::size_t i = 0; i < energyCount; ++i) {
        const double e = kMinEnergyKeV + kEnergyStepKeV * static_cast<double>(i);
        EnergyPoint& p = points_[i];
        std::vector<double> incoherent(elementCount);
        std::vector<double> coherent(elementCount);
        p.IncoherentCumulative.resize(elementCount);
        p.CoherentCumulative.resize(elementCount);
        for (std::size_t k = 0; k < elementCount; ++k) {
            const auto [Z, w] = elements_[k];
            p.Photo += w * ElementCrossSection(Process::Photoelectric, Z, e);
            incoherent[k] = w * ElementCrossSection(Process::Incoherent, Z, e);
            coherent[k] = w * ElementCrossSection(Process::Coherent, Z, e);
            p.Incoherent += incoherent[k];
            p.Coherent += coherent[k];
        }
        double sumIncoherent = 0;
        double sumCoherent = 0;
        for (std::size_t k = 0; k < elementCount; ++k) {
            sumIncoherent += incoherent[k];
            sumCoherent += coherent[k];
            p.IncoherentCumulative[k] = sumIncoherent / p.Incoherent;
            p.CoherentCumulative[k] = sumCoherent / p.Coherent;
        }
        const double total = p.Photo + p.Incoherent + p.Coherent;
        p.Mu = density_ * total;
        p.PhotoFraction = p.Photo / total;
        p.PhotoIncoherentFraction = (p.Photo + p.Incoherent) / total;
        p.MuEnOverRho = material.MuEnOverRho ? material.MuEnOverRho(e) : 0.0;
    }

    // Momentum transfer up to that of backscatter at the highest energy, with one step spare.
    const double qMax = kMaxEnergyKeV / kKeVAngstrom;
    const auto qCount = static_cast<std::size_t>(std::ceil(qMax / kMomentumStep)) + 2;
    for (std::size_t k = 0; k < elementCount; ++k) {
        const int Z = elements_[k].Z;
        scattering_[k].resize(qCount);
        coherentCumulative_[k].resize(qCount);
        double previousF2 = 0;
        for (std::size_t i = 0; i < qCount; ++i) {
            const double q = kMomentumStep * static_cast<double>(i);
            scattering_[k][i] = IncoherentScatteringFunction(Z, q);
            const double f = FormFactor(Z, q);
            const double f2 = f * f;
            if (i == 0) {
                coherentCumulative_[k][i] = 0;
            } else {
                const double qPrev = q - kMomentumStep;
                coherentCumulative_[k][i] = coherentCumulative_[k][i - 1] +
                                            0.5 * (f2 + previousF2) * (q * q - qPrev * qPrev);
            }
            previousF2 = f2;
        }
    }
}

std::pair<std::size_t, double> MaterialInteractions::Locate(double energyKeV) const {
    const double x = (energyKeV - kMinEnergyKeV) / kEnergyStepKeV;
    if (!(x >= 0.0) || x > static_cast<double>(points_.size() - 1))
        throw std::out_of_range("photon energy outside the interaction tables");
    auto i = static_cast<std::size_t>(x);
    if (i >= points_.size() - 1) i = points_.size() - 2;
    return {i, x - static_cast<double>(i)};
}

double MaterialInteractions::LinearAttenuation(double energyKeV) const {
    const auto [i, f] = Locate(energyKeV);
    return points_[i].Mu + f * (points_[i + 1].Mu - points_[i].Mu);
}

double MaterialInteractions::MuEnOverRho(double energyKeV) const {
    const auto [i, f] = Locate(energyKeV);
    return points_[i].MuEnOverRho + f * (points_[i + 1].MuEnOverRho - points_[i].MuEnOverRho);
}

double MaterialInteractions::MassCrossSection(Interaction process, double energyKeV) const {
    const auto [i, f] = Locate(energyKeV);
    auto pick = [process](const EnergyPoint& p) {
        switch (process) {
        case Interaction::Photoelectric: return p.Photo;
        case Interaction::Incoherent: return p.Incoherent;
        case Interaction::Coherent: return p.Coherent;
        }
        return 0.0;
    };
    return pick(points_[i]) + f * (pick(points_[i + 1]) - pick(points_[i]));
}

Interaction MaterialInteractions::SampleInteraction(double energyKeV, double xi) const {
    const auto [i, f] = Locate(energyKeV);
    const EnergyPoint& a = points_[i];
    const EnergyPoint& b = points_[i + 1];
    if (xi < a.PhotoFraction + f * (b.PhotoFraction - a.PhotoFraction))
        return Interaction::Photoelectric;
    if (xi <
        a.PhotoIncoherentFraction + f * (b.PhotoIncoherentFraction - a.PhotoIncoherentFraction))
        return Interaction::Incoherent;
    return Interaction::Coherent;
}

std::size_t MaterialInteractions::ChooseElement(const std::vector<double>& cumulative,
                                                double xi) const {
    for (std::size_t k = 0; k + 1 < cumulative.size(); ++k) {
        if (xi < cumulative[k]) return k;
    }
    return cumulative.size() - 1;
}

double MaterialInteractions::ScatteringFunction(std::size_t element, double q) const {
    const std::vector<double>& s = scattering_[element];
    const double x = q / kMomentumStep;
    auto i = static_cast<std::size_t>(x);
    if (i >= s.size() - 1) return s.back();
    const double f = x - static_cast<double>(i);
    return s[i] + f * (s[i + 1] - s[i]);
}

double MaterialInteractions::CoherentCumulativeAt(std::size_t element, double q) const {
    // The cumulative is piecewise linear in q² between grid points.
    const std::vector<double>& a = coherentCumulative_[element];
    auto i = static_cast<std::size_t>(q / kMomentumStep);
    if (i >= a.size() - 1) return a.back();
    const double q0 = kMomentumStep * static_cast<double>(i);
    const double q1 = q0 + kMomentumStep;
    const double f = (q * q - q0 * q0) / (q1 * q1 - q0 * q0);
    return a[i] + f * (a[i + 1] - a[i]);
}

ScatteredPhoton MaterialInteractions::SampleIncoherent(double energyKeV, Xoshiro256& rng) const {
    const auto [index, unused] = Locate(energyKeV);
    const std::size_t element = ChooseElement(points_[index].IncoherentCumulative, rng.Uniform());
    const double Z = elements_[element].Z;
    const double k = energyKeV / kElectronRestEnergyKeV;
    const double eps0 = 1.0 / (1.0 + 2.0 * k);
    const double eps0Sq = eps0 * eps0;
    const double alpha1 = -std::log(eps0);
    const double alpha2 = 0.5 * (1.0 - eps0Sq);
    const double qPerSinHalf = energyKeV / kKeVAngstrom;
    // Klein–Nishina by the composition–rejection method of Butcher and Messel (1960): the
    // ε⁻¹ and ε terms are sampled in proportion to their integrals, the rest by rejection;
    // then the binding correction S(q, Z)/Z by a further rejection.
    for (;;) {
        double eps;
        double epsSq;
        if (alpha1 > (alpha1 + alpha2) * rng.Uniform()) {
            eps = std::exp(-alpha1 * rng.Uniform());
            epsSq = eps * eps;
        } else {
            epsSq = eps0Sq + (1.0 - eps0Sq) * rng.Uniform();
            eps = std::sqrt(epsSq);
        }
        const double oneMinusCos = (1.0 - eps) / (eps * k);
        const double sinSq = oneMinusCos * (2.0 - oneMinusCos);
        const double rejection = 1.0 - eps * sinSq / (1.0 + epsSq);
        if (rejection < rng.Uniform()) continue;
        const double q = qPerSinHalf * std::sqrt(0.5 * oneMinusCos);
        if (Z * rng.Uniform() > ScatteringFunction(element, q)) continue;
        return ScatteredPhoton{.CosTheta = 1.0 - oneMinusCos, .EnergyKeV = eps * energyKeV};
    }
}

double MaterialInteractions::SampleCoherent(double energyKeV, Xoshiro256& rng) const {
    const auto [index, unused] = Locate(energyKeV);
    const std::size_t element = ChooseElement(points_[index].CoherentCumulative, rng.Uniform());
    const std::vector<double>& a = coherentCumulative_[element];
    const double qMax = energyKeV / kKeVAngstrom;
    const double aMax = CoherentCumulativeAt(element, qMax);
    // q² from F²(q) d(q²) by inverting the cumulative, then the Thomson factor (1 + cos²θ)/2
    // by rejection; cos θ = 1 − 2 q²/q_max².
    for (;;) {
        const double target = aMax * rng.Uniform();
        const auto upper = std::upper_bound(a.begin(), a.end(), target);
        const auto i = static_cast<std::size_t>(std::max<std::ptrdiff_t>(upper - a.begin(), 1) - 1);
        const double q0 = kMomentumStep * static_cast<double>(i);
        const double q1 = q0 + kMomentumStep;
        const double span = a[i + 1] - a[i];
        const double f = span > 0 ? (target - a[i]) / span : 0.0;
        const double qSq = std::min(q0 * q0 + f * (q1 * q1 - q0 * q0), qMax * qMax);
        const double cosTheta = 1.0 - 2.0 * qSq / (qMax * qMax);
        if (2.0 * rng.Uniform() <= 1.0 + cosTheta * cosTheta) return cosTheta;
    }
}

}  // namespace ordevo::refdata
