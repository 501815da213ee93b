#pragma once

#include <QImage>

#include <string_view>

namespace tramble {

// A PNG stream decoded with libpng. Qt's own reader probes every image
// plugin first, which costs milliseconds at start-up. Null when the stream
// is no PNG.
QImage ImageFromPng(std::string_view png);

} // namespace tramble
