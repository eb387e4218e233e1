// The program's pictures, built from the SVG sources beside this header and carried inside the
// executable as Qt resources. Call art::InitResources() once at start, before the first picture
// is read (with a static library the resources are not registered otherwise); then every file
// of manifest.tsv is readable under kResourcePrefix, by its output name:
//
//   art::InitResources();
//   QImage panel(QStringLiteral(":/art/main_panel.jpg"));        // 800 x 600 JPEG
//   QMovie spinner(QStringLiteral(":/art/spinner.gif"));         // animated GIF
//   QFile mark(QStringLiteral(":/art/right_mark.gif"));          // the bytes, for the logic
//
// The names are those of src/ui/picture_names.h. Needs Qt's JPEG and GIF image readers.
#pragma once

namespace art {

inline constexpr char kResourcePrefix[] = ":/art/";

// Registers the pictures with Qt's resource system. Safe to call more than once and from any
// thread before or after the application object exists.
void InitResources();

}  // namespace art
