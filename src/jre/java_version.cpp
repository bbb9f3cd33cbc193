#include "jre/java_version.h"

#include "diag/log.h"

#include <array>
#include <limits>

namespace {

constexpr std::string_view kSeparators = "._-+";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal value of one piece. Pieces never carry a sign: '-' and '+' are separators.
std::int32_t pieceValue(std::string_view piece) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::size_t pos = 0;
    while (pos < piece.size() && isBlank(piece[pos])) ++pos;
    std::int64_t value = 0;
    for (; pos < piece.size() && isDigit(piece[pos]); ++pos) {
        value = value * 10 + (piece[pos] - '0');
        if (value > kMax) return static_cast<std::int32_t>(kMax);
    }
    return static_cast<std::int32_t>(value);
}

std::string_view untilNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

bool looksLikePreRelease(std::string_view text) {
    constexpr std::array<std::string_view, 3> kMarkers = {"beta", "ea", "rc"};
    for (std::string_view marker : kMarkers) {
        if (text.find(marker) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace

JavaVersion parseJavaVersion(std::string_view text) {
    text = untilNul(text);
    JavaVersion version;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(kSeparators, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) version.push_back(pieceValue(text.substr(start, end - start)));
        start = end + 1;
    }
    return version;
}

bool satisfiesLimit(const JavaVersion& limit, const JavaVersion& candidate, LimitSide side,
                    bool acceptShorter) {
    for (std::size_t i = 0; i < limit.size(); ++i) {
        if (i >= candidate.size()) return acceptShorter;
        if (candidate[i] == limit[i]) continue;
        const bool greater = candidate[i] > limit[i];
        return side == LimitSide::Lower ? greater : !greater;
    }
    return true;
}

bool checkVersionPrefix(std::string_view text, const JavaVersion& lower,
                        const JavaVersion& upper) {
    const JavaVersion version = parseJavaVersion(text);
    return satisfiesLimit(lower, version, LimitSide::Lower, true) &&
           satisfiesLimit(upper, version, LimitSide::Upper, true);
}

bool checkJavaVersion(std::string_view text, const JavaVersion& lower, const JavaVersion& upper,
                      bool allowBeta) {
    text = untilNul(text);
    if (!allowBeta && !allowBetaJavaConfigured() && looksLikePreRelease(text)) {
        logMessage(u"beta vm not allowed");
        return false;
    }
    const JavaVersion version = parseJavaVersion(text);
    return satisfiesLimit(lower, version, LimitSide::Lower, false) &&
           satisfiesLimit(upper, version, LimitSide::Upper, false);
}

bool isNewerVersion(std::string_view a, std::string_view b) {
    const JavaVersion va = parseJavaVersion(a);
    const JavaVersion vb = parseJavaVersion(b);
    for (std::size_t i = 0; i < va.size(); ++i) {
        if (i >= vb.size()) return true;
        if (va[i] != vb[i]) return va[i] > vb[i];
    }
    return false;
}
