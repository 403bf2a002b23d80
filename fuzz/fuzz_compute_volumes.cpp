// One click of the start button on any four texts. The input is split at its first three line feeds into
// the texts of r, L, h and hi (missing ones are empty; an edit box holds a single line, so nothing that can
// be typed is lost).
//
// The results are result texts (never empty, printable ASCII, at most 20 characters), the same on a
// second click, written as numberToText writes the values they read back as, and never a NaN other than
// the default one ("-1.#IND"). They depend on the texts only through the numbers textToNumber reads from
// them, and V does not depend on h at all.
#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "fuzz/property.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using fuzz::describe;
using fuzz::require;

struct Inputs {
    std::array<std::string_view, 4> texts; // r, L, h, hi
};

Inputs split(std::string_view data) {
    Inputs inputs;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t end = data.find('\n');
        if (end == std::string_view::npos) {
            inputs.texts[i] = data;
            return inputs;
        }
        inputs.texts[i] = data.substr(0, end);
        data.remove_prefix(end + 1);
    }
    inputs.texts[3] = data;
    return inputs;
}

calc::VolumeTexts click(const std::array<std::string_view, 4>& t) {
    return calc::computeVolumes(t[0], t[1], t[2], t[3]);
}

std::string describe(const std::array<std::string_view, 4>& t) {
    return "computeVolumes(r " + describe(t[0]) + ", L " + describe(t[1]) + ", h " + describe(t[2]) +
           ", hi " + describe(t[3]) + ")";
}

std::string describe(const calc::VolumeTexts& v) {
    return "{V " + describe(v.V) + ", Vh " + describe(v.Vh) + "}";
}

// A text that textToNumber reads as exactly x: 17 significant digits always single out a double, and
// "1e999" stands for an infinity. textToNumber never gives a NaN.
std::string exactText(double x) {
    if (std::isinf(x)) {
        return x < 0 ? "-1e999" : "1e999";
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", x);
    return text;
}

void checkResult(const std::string& text, const char* name, const std::array<std::string_view, 4>& inputs) {
    require(fuzz::isResultText(text), "a result is never empty, ASCII, at most 20 characters",
            [&] { return describe(inputs) + ": " + name + " = " + describe(text); });
    if (text.find('#') != std::string::npos) {
        // Infinities come from overflow, NaNs from invalid operations, which give the default NaN; a
        // NaN of another sign or payload would mean that a step changed it on the way.
        require(text == "1.#INF" || text == "-1.#INF" || text == "-1.#IND",
                "a result that is not a number is an infinity or the default NaN",
                [&] { return describe(inputs) + ": " + name + " = " + describe(text); });
        return;
    }
    const std::string again = calc::numberToText(calc::textToNumber(text));
    require(again == text, "a result is the text of the number it reads back as", [&] {
        return describe(inputs) + ": " + name + " = " + describe(text) + ", read back and written " +
               describe(again);
    });
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    calc::setFloatingPointEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Inputs inputs = split(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto& t = inputs.texts;

    const calc::VolumeTexts first = click(t);
    const calc::VolumeTexts second = click(t);
    require(first.V == second.V && first.Vh == second.Vh, "a second click gives the same results",
            [&] { return describe(t) + ": " + describe(first) + " then " + describe(second); });
    checkResult(first.V, "V", t);
    checkResult(first.Vh, "Vh", t);

    std::array<std::string, 4> exact;
    for (std::size_t i = 0; i < 4; ++i) {
        exact[i] = exactText(calc::textToNumber(t[i]));
    }
    const std::array<std::string_view, 4> exactViews{exact[0], exact[1], exact[2], exact[3]};
    const calc::VolumeTexts fromNumbers = click(exactViews);
    require(fromNumbers.V == first.V && fromNumbers.Vh == first.Vh,
            "the results depend on the texts only through the numbers read from them", [&] {
                return describe(t) + " = " + describe(first) + "\n but " + describe(exactViews) + " = " +
                       describe(fromNumbers);
            });

    const std::array<std::string_view, 4> withoutLevel{t[0], t[1], "", t[3]};
    const calc::VolumeTexts empty = click(withoutLevel);
    require(empty.V == first.V, "V does not depend on the level h",
            [&] { return describe(t) + " = " + describe(first) + "\n but with h empty " + describe(empty); });
    return 0;
}
