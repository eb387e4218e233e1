// Turning the SVG sources of pictures into the formats the program shows: JPEG for pictures
// with shading, GIF (written with giflib: Qt reads GIF but does not write it) for flat pictures
// and for animations. Needs a QGuiApplication (the offscreen platform is enough).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <string>
#include <vector>

namespace art {

// Renders `svg` at `size` over `background` (QColor(Qt::transparent) keeps alpha). A null
// image if the SVG does not parse.
QImage RenderSvg(const QByteArray& svg, QSize size, QColor background = QColor(Qt::white));

std::string EncodeJpeg(const QImage& image, int quality = 88);

// A GIF of one or more frames of equal size sharing one palette of at most 256 colours (the
// most frequent colours; the rest map to their nearest). `delay_cs` is the frame time in
// hundredths of a second; several frames loop forever.
std::string EncodeGif(const std::vector<QImage>& frames, int delay_cs = 10);

// True when a few colours cover nearly all of the picture (signs, diagrams, marks), so that a
// GIF keeps it exact where a JPEG would smear its edges.
bool IsFlat(const QImage& image);

// The encoding a question picture ships in: GIF when flat, JPEG otherwise.
std::string EncodePicture(const QImage& image);

}  // namespace art
