// Shape of the irradiated field as chosen in the main window.
#pragma once

namespace ordevo {

enum class FieldShape : int {
    None = 0,    // no option chosen yet: the field size is empty
    Square = 1,  // "矩形(正方形)"
    Circle = 2,  // "円形"
};

}  // namespace ordevo
