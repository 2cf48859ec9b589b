#include "TextCleaning.h"

#include <cstdio>

std::string OneLine(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return out;
}

std::string DecimalText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.12g", value);
    return text;
}

std::string YamlQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : OneLine(text)) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}
