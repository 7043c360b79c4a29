#pragma once

#include <QString>
#include <cstdint>
#include <string>

// The texts of the top-level error display, kept apart from any window so they can be checked
// on their own.

// The application title: the file name without its directory, cut before its first full stop,
// the first character in upper case and the rest in lower case (PLOTTER.EXE gives Plotter,
// dpartition gives Dpartition).
QString ApplicationTitleFromFileName(const QString& fileName);

// Appends "." when the last byte of the UTF-8 text ranks above the full stop (0x2E) as an
// unsigned byte; every byte of a multibyte character does, so such a text gets one too.
std::string WithFullStop(std::string message);

// What a message box shows of a text of any length: at most MaxDisplayLines lines of at most
// MaxDisplayLineLength characters and MaxDisplayLength characters in all; each cut is marked
// with "…". Characters are never split in the middle of a surrogate pair.
constexpr int MaxDisplayLines = 25;
constexpr int MaxDisplayLineLength = 200;
constexpr int MaxDisplayLength = 2000;
QString ShortenForDisplay(const QString& text);

// The text of the box for a failure that is no Exception.
QString ApplicationErrorText(const QString& className, const QString& moduleName,
                             std::uint32_t address);
