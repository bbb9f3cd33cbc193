#include "launcher/command_line.h"

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kDoubleQuote = u'"';
constexpr char16_t kSingleQuote = u'\'';

} // namespace

std::size_t takeQuotedToken(ArgList& list, WStringView text, std::size_t quotePos,
                            std::size_t tokenStart, char16_t quoteChar)
{
    const std::size_t closePos = text.find(quoteChar, quotePos + 1);
    const std::size_t sectionEnd = closePos == WStringView::npos ? text.size() : closePos;

    WString token(text.substr(tokenStart, quotePos - tokenStart));
    token.append(text.substr(quotePos + 1, sectionEnd - (quotePos + 1)));
    list.push_back(std::move(token));

    if (closePos == WStringView::npos)
        return text.size();

    std::size_t next = closePos + 1;
    if (next < text.size() && text[next] == kBlank)
        ++next;
    return next;
}

void splitCommandLine(WStringView text, ArgList& list)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == kBlank) {
            ++pos;
            continue;
        }

        const std::size_t dq = text.find(kDoubleQuote, pos);
        const std::size_t sq = text.find(kSingleQuote, pos);
        const std::size_t blank = text.find(kBlank, pos);

        // npos compares greater than any position, so a quote that is absent
        // never wins a comparison.
        if (blank != WStringView::npos && blank < dq && blank < sq) {
            list.emplace_back(text.substr(pos, blank - pos));
            pos = blank + 1;
        } else if (dq != WStringView::npos && dq < sq) {
            pos = takeQuotedToken(list, text, dq, pos, kDoubleQuote);
        } else if (sq != WStringView::npos) {
            pos = takeQuotedToken(list, text, sq, pos, kSingleQuote);
        } else {
            list.emplace_back(text.substr(pos));
            pos = text.size();
        }
    }
}
