#pragma once
// The installation tests of the product line: where each product's
// application is found, and whether it is there.
#include "platform/UserDefaults.h"

#include <array>
#include <optional>
#include <string>

namespace tsyhotkey {

enum class Product { Morvane, Pirnow, Quenby, Grulkan, Tambrel };
inline constexpr std::array<Product, 5> kProducts = {
    Product::Morvane, Product::Pirnow, Product::Quenby, Product::Grulkan, Product::Tambrel};

class ProductLocations {
public:
    ProductLocations();

    bool isInstalled(Product product);

    // The path finally chosen for a product with a location domain: the
    // domain's "location" (after synchronising it), else the fixed
    // application path, else the one among the utilities when nothing exists
    // at the first.
    std::string morvanePath();
    std::string quenby4Path();
    std::string tambrel2Path();

    bool isMRVNInstalled();
    bool isPRNWInstalled();
    bool isGRLKNInstalled();
    bool isQNBY3Installed();
    bool isQNBY4Installed();
    bool isQNBYInstalled();
    bool isTMBL1Installed();
    bool isTMBL2Installed();
    bool isTMBLInstalled();
    std::optional<std::string> getTMBL2ExecutablePath();

    // The path of NAME in the application-support folder, when something is there.
    static std::optional<std::string> testIfTSYFileExists(const std::string& name);
    static bool fileExists(const std::string& path);

private:
    static std::string locate(morvane::UserDefaults& domain, const std::string& applicationName);

    morvane::UserDefaults morvaneDomain_;
    morvane::UserDefaults quenby4Domain_;
    morvane::UserDefaults tambrel2Domain_;
};

} // namespace tsyhotkey
