#include "support/xml_check.h"

#include <cctype>
#include <vector>

namespace testxml {

namespace {
bool name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
           c == '.';
}

// Checks character data up to `end`: every "&" starts a known entity or a numeric reference.
bool text_ok(const std::string& t, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (t[i] == '<') return false;
        if (t[i] != '&') continue;
        const size_t semi = t.find(';', i);
        if (semi == std::string::npos || semi > end) return false;
        const std::string entity = t.substr(i + 1, semi - i - 1);
        const bool numeric = entity.size() > 1 && entity[0] == '#';
        if (!numeric && entity != "amp" && entity != "lt" && entity != "gt" && entity != "quot" &&
            entity != "apos")
            return false;
        i = semi;
    }
    return true;
}
}  // namespace

std::string well_formedness_problem(const std::string& t) {
    std::vector<std::string> open;
    bool root_seen = false;
    size_t i = 0;
    auto problem = [&](const std::string& what) { return what + " at byte " + std::to_string(i); };
    if (t.compare(0, 5, "<?xml") == 0) {
        i = t.find("?>");
        if (i == std::string::npos) return problem("unclosed declaration");
        i += 2;
    }
    while (i < t.size()) {
        const size_t lt = t.find('<', i);
        const size_t stop = lt == std::string::npos ? t.size() : lt;
        if (!text_ok(t, i, stop)) return problem("bad character data");
        if (open.empty())
            for (size_t k = i; k < stop; ++k)
                if (!std::isspace(static_cast<unsigned char>(t[k])))
                    return problem("text outside the root element");
        if (lt == std::string::npos) break;
        i = lt;
        if (t.compare(i, 4, "<!--") == 0) {
            const size_t end = t.find("-->", i);
            if (end == std::string::npos) return problem("unclosed comment");
            i = end + 3;
            continue;
        }
        const bool closing = i + 1 < t.size() && t[i + 1] == '/';
        size_t k = i + (closing ? 2 : 1);
        const size_t name_start = k;
        while (k < t.size() && name_char(t[k])) ++k;
        const std::string name = t.substr(name_start, k - name_start);
        if (name.empty()) return problem("tag without a name");
        if (closing) {
            while (k < t.size() && std::isspace(static_cast<unsigned char>(t[k]))) ++k;
            if (k >= t.size() || t[k] != '>') return problem("bad closing tag");
            if (open.empty() || open.back() != name) return problem("mismatched </" + name + ">");
            open.pop_back();
            i = k + 1;
            continue;
        }
        // Attributes: name="value" or name='value'.
        for (;;) {
            while (k < t.size() && std::isspace(static_cast<unsigned char>(t[k]))) ++k;
            if (k >= t.size()) return problem("unclosed tag");
            if (t[k] == '>' || t.compare(k, 2, "/>") == 0) break;
            const size_t a = k;
            while (k < t.size() && name_char(t[k])) ++k;
            if (k == a || k >= t.size() || t[k] != '=') return problem("bad attribute");
            ++k;
            if (k >= t.size() || (t[k] != '"' && t[k] != '\'')) return problem("unquoted value");
            const size_t end = t.find(t[k], k + 1);
            if (end == std::string::npos || !text_ok(t, k + 1, end))
                return problem("bad attribute value");
            k = end + 1;
        }
        if (open.empty() && root_seen) return problem("second root element");
        root_seen = true;
        if (t[k] == '>') {
            open.push_back(name);
            i = k + 1;
        } else {
            i = k + 2;
        }
    }
    if (!open.empty()) return "unclosed <" + open.back() + ">";
    if (!root_seen) return "no root element";
    return "";
}

}  // namespace testxml
