// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the manual page from its roff template and the game's own --help
// text, so the page and --help never tell two stories:
//   vortigan_manpage TEMPLATE OUT [NAME=VALUE]...
// Each @NAME@ in the template becomes VALUE; @TAGLINE@, @SYNOPSIS@,
// @OPTIONS@, @KEYS@ and @SETTINGS@ come from app/usage.h.

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "app/usage.h"

namespace {

// Text as roff prints it: a backslash is written as one, a line that
// starts with a control character is kept as text, and a path from the
// home folder or a variable is never broken at a hyphen.
std::string Escape(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        bool wordStart = i == 0 || text[i - 1] == ' ' || text[i - 1] == '\n' || text[i - 1] == '(';
        if (wordStart && (c == '~' || c == '$')) {
            out += "\\%";
        }
        out += c == '\\' ? std::string("\\e") : std::string(1, c);
        lineStart = c == '\n';
    }
    return out;
}

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
}

// Escaped prose with minus signs where a word starts with one, and every
// option name bold, so that they can be searched for and pasted; the words in `italic` (an option's
// value, such as N or FILE) are set in italics.
std::string Prose(const std::string& text, const std::string& italic = "") {
    std::string escaped = Escape(text);
    std::string out;
    for (size_t i = 0; i < escaped.size();) {
        bool wordStart = i == 0 || !IsWordChar(escaped[i - 1]);
        size_t end = i;
        while (end < escaped.size() && IsWordChar(escaped[end])) {
            ++end;
        }
        std::string word = escaped.substr(i, end - i);
        if (!wordStart || word.empty()) {
            out += escaped[i++];
            continue;
        }
        if (word[0] == '-') {
            std::string roff;
            for (char c : word) {
                roff += c == '-' ? std::string("\\-") : std::string(1, c);
            }
            bool option = word.size() > 2 && word[1] == '-';
            out += option ? "\\fB" + roff + "\\fR" : roff;
        } else if (!italic.empty() &&
                   (" " + italic + " ").find(" " + word + " ") != std::string::npos) {
            out += "\\fI" + word + "\\fR";
        } else {
            out += word;
        }
        i = end;
    }
    return out;
}

// A paragraph as --help breaks it, as one roff text block without the
// final line break.
std::string Paragraph(const std::string& text) {
    std::string p = Prose(text);
    while (!p.empty() && p.back() == '\n') {
        p.pop_back();
    }
    return p;
}

// "A side-scrolling platform game." as a NAME line wants it.
std::string Tagline() {
    std::string t = USAGE::TAGLINE;
    if (!t.empty() && t.back() == '.') {
        t.pop_back();
    }
    if (!t.empty()) {
        t[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(t[0])));
    }
    return Escape(t);
}

// The program's name in bold, the rest as written, OPTION in italics.
std::string Synopsis() {
    std::string s = USAGE::SYNOPSIS;
    size_t space = s.find(' ');
    std::string program = s.substr(0, space);
    std::string rest = space == std::string::npos ? "" : s.substr(space);
    return "\\fB" + Escape(program) + "\\fR" + Prose(rest, "OPTION");
}

// The words of a value such as "N:FILE".
std::string ValueWords(const std::string& value) {
    std::string words = value;
    for (char& c : words) {
        c = IsWordChar(c) ? c : ' ';
    }
    return words;
}

// One tagged paragraph an option: its summary as a sentence, then what the
// manual adds.
std::string Options() {
    std::string out;
    for (const USAGE_OPTION& option : USAGE::OPTIONS) {
        std::string words = ValueWords(option.Value);
        out += ".TP\n" + Prose(option.Name);
        if (*option.Value) {
            out += " " + Prose(option.Value, words);
        }
        std::string summary = option.Summary;
        summary[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(summary[0])));
        out += "\n" + Prose(summary + ".", words) + "\n";
        if (*option.Manual) {
            out += Prose(option.Manual, words) + "\n";
        }
    }
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

std::string Fill(std::string text, const std::map<std::string, std::string>& values) {
    for (const auto& [name, value] : values) {
        std::string key = "@" + name + "@";
        for (size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + value.size())) {
            text.replace(at, key.size(), value);
        }
    }
    return text;
}

// The first @NAME@ left in the page, or "".
std::string Unfilled(const std::string& page) {
    for (size_t at = page.find('@'); at != std::string::npos; at = page.find('@', at + 1)) {
        size_t end = at + 1;
        while (end < page.size() &&
               (std::isupper(static_cast<unsigned char>(page[end])) || page[end] == '_')) {
            ++end;
        }
        if (end > at + 1 && end < page.size() && page[end] == '@') {
            return page.substr(at, end + 1 - at);
        }
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vortigan_manpage TEMPLATE OUT [NAME=VALUE]...\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vortigan_manpage: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::map<std::string, std::string> values = {
        {"TAGLINE", Tagline()},
        {"SYNOPSIS", Synopsis()},
        {"OPTIONS", Options()},
        {"KEYS", Paragraph(USAGE::KEYS)},
        {"SETTINGS", Paragraph(USAGE::SETTINGS)},
    };
    for (int i = 3; i < argc; ++i) {
        std::string pair = argv[i];
        size_t eq = pair.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "vortigan_manpage: '%s' is no NAME=VALUE\n", argv[i]);
            return 2;
        }
        values[pair.substr(0, eq)] = Escape(pair.substr(eq + 1));
    }
    std::string page = Fill(text.str(), values);
    if (std::string name = Unfilled(page); !name.empty()) {
        std::fprintf(stderr, "vortigan_manpage: nothing given for %s in %s\n", name.c_str(),
                     argv[1]);
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << page;
    if (!out) {
        std::fprintf(stderr, "vortigan_manpage: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
