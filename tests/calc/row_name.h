#pragma once
// Test names from table rows: GoogleTest takes only letters, digits and underscores.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

inline auto rowName = [](const auto& info) {
    std::string name(info.param.name);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
};
