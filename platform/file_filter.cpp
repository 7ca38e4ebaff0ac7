#include "platform/file_filter.h"

#include <cctype>

namespace {

std::string either_case(const std::string& patterns) {
    std::string result;
    for (unsigned char c : patterns) {
        if (std::isalpha(c)) {
            result += '[';
            result += char(std::tolower(c));
            result += char(std::toupper(c));
            result += ']';
        } else {
            result += char(c);
        }
    }
    return result;
}

}  // namespace

// Descriptions (the even pieces) stay as they are; patterns (the odd ones) change.
std::string file_dialog_wildcard(const std::string& filter) {
#ifdef _WIN32
    return filter;
#else
    std::string result;
    size_t start = 0;
    for (int piece = 0; start <= filter.size(); ++piece) {
        size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        const std::string text = filter.substr(start, bar - start);
        if (piece > 0) result += '|';
        result += piece % 2 == 1 ? either_case(text) : text;
        start = bar + 1;
    }
    return result;
#endif
}
