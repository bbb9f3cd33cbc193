// Splitting of UTF-16 text into an argument list: used for the process command
// line and for the configured argument and VM option strings.
//
// Only three characters are special: blank (U+0020), double quote and single
// quote. There is no escape character (a backslash is ordinary), tabs are
// ordinary characters, and a closing quote always ends a token. This is
// deliberately not the platform's own argument-splitting rule.
#pragma once

#include "util/text.h"

#include <cstddef>
#include <vector>

using ArgList = std::vector<WString>;

// Appends the tokens of text to list, in order.
//
// Runs of blanks separate tokens and produce nothing. A quoted section (either
// kind of quote) joins onto the unquoted text directly before it, never onto the
// text after its closing quote; the other kind of quote is ordinary inside it.
// A missing closing quote extends the section to the end of the text.
void splitCommandLine(WStringView text, ArgList& list);

// Takes one token whose quoted section opens at quotePos (a quoteChar) and whose
// unquoted part starts at tokenStart (tokenStart <= quotePos). Appends the token
// (the quotes dropped) and returns the position at which splitting continues:
// just after the closing quote, plus one blank if a blank follows directly; or
// text.size() when the closing quote is missing.
std::size_t takeQuotedToken(ArgList& list, WStringView text, std::size_t quotePos,
                            std::size_t tokenStart, char16_t quoteChar);
