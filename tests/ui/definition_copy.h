// A modifiable copy of the program's window definition, for tests that build variants of the window.
#pragma once

#include "ui/window_builder.h"
#include "ui/window_definition.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace uitest {

struct DefinitionCopy {
    DefinitionCopy() {
        const ui::WindowDefinition& original = ui::mainWindowDefinition();
        window = original.window;
        controls.assign(original.controls.begin(), original.controls.end());
    }

    ui::ControlDefinition& entry(std::string_view name) {
        for (ui::ControlDefinition& control : controls)
            if (control.name == name)
                return control;
        throw std::invalid_argument("no such control");
    }

    // Refers to this copy, which must outlive every window built from it.
    ui::WindowDefinition definition() const { return {window, controls}; }

    ui::WindowSettings window;
    std::vector<ui::ControlDefinition> controls;
};

// The window of a variant, built and active like the fixture's own; null when it cannot be built.
inline std::unique_ptr<ui::MainWindow> buildActive(const DefinitionCopy& copy) {
    ui::BuildResult built = ui::buildMainWindow(copy.definition());
    EXPECT_NE(built.window, nullptr) << built.error.toStdString();
    if (built.window) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(built.window.get()));
    }
    return std::move(built.window);
}

} // namespace uitest
