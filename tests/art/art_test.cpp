// The built pictures, read back through the program's resources with Qt's image readers: every
// manifest line is there in its format, size and frame count; the panel's white frames lie
// under the controls that expect them; and examora-art is deterministic and strict.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "art_resources.h"
#include "raster.h"

#if __has_include("ui/picture_names.h")
#include "ui/picture_names.h"
#define EXAMORA_HAVE_PICTURE_NAMES 1
#endif

namespace {

struct Line {
  std::string output, format;
  int width = 0, height = 0;
  int frames = 0;
  int delay_cs = 0;  // 0 for a still
};

// An independent reading of manifest.tsv, so a fault in the tool's parser shows as a mismatch.
std::vector<Line> Manifest() {
  std::ifstream in(EXAMORA_ART_MANIFEST);
  std::vector<Line> lines;
  std::string text;
  while (std::getline(in, text)) {
    if (text.empty() || text[0] == '#') continue;
    std::vector<std::string> f;
    std::istringstream fields(text);
    for (std::string part; std::getline(fields, part, '\t');) f.push_back(part);
    if (f.size() < 5) continue;
    Line l{f[0], f[1], std::stoi(f[2]), std::stoi(f[3]), 1, 0};
    for (char c : f[4]) l.frames += c == ',';
    if (f.size() > 5 && f[5] != "-") l.delay_cs = std::stoi(f[5]);
    lines.push_back(l);
  }
  return lines;
}

QString ResourcePath(const std::string& name) {
  return QString::fromLatin1(art::kResourcePrefix) + QString::fromStdString(name);
}

QImage Load(const std::string& name) {
  QImageReader reader(ResourcePath(name));
  return reader.read().convertToFormat(QImage::Format_RGB32);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pixel of `rect` (inclusive of its edges, after `inset`) that is furthest from `want`,
// as the largest channel difference.
int WorstDistance(const QImage& img, QRect rect, QRgb want, int inset = 0) {
  rect.adjust(inset, inset, -inset, -inset);
  int worst = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QRgb c = img.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(c) - qRed(want)), std::abs(qGreen(c) - qGreen(want)),
                        std::abs(qBlue(c) - qBlue(want))});
    }
  }
  return worst;
}

double MeanLuminance(const QImage& img, QRect rect) {
  double sum = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) sum += qGray(img.pixel(x, y));
  }
  return sum / (rect.width() * rect.height());
}

int CountPixels(const QImage& img, bool (*test)(QRgb)) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) n += test(img.pixel(x, y)) ? 1 : 0;
  }
  return n;
}

bool Reddish(QRgb c) { return qRed(c) > 170 && qGreen(c) < 110 && qBlue(c) < 120; }
bool Greenish(QRgb c) { return qGreen(c) > 120 && qRed(c) < 90 && qBlue(c) < 120; }

TEST(ArtResources, EveryManifestPictureReadsBackInItsFormatSizeAndFrames) {
  const auto lines = Manifest();
  ASSERT_GE(lines.size(), 15u);
  for (const Line& l : lines) {
    SCOPED_TRACE(l.output);
    QImageReader reader(ResourcePath(l.output));
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    EXPECT_EQ(reader.format().toStdString(), l.format);
    EXPECT_EQ(reader.size(), QSize(l.width, l.height));
    std::vector<QImage> frames;
    for (QImage f = reader.read(); !f.isNull(); f = reader.read()) {
      frames.push_back(f.convertToFormat(QImage::Format_RGB32));
      EXPECT_EQ(f.size(), QSize(l.width, l.height));
      if (!reader.canRead()) break;
    }
    ASSERT_EQ(static_cast<int>(frames.size()), l.frames);
    if (l.frames > 1) {
      QImageReader again(ResourcePath(l.output));
      EXPECT_EQ(again.imageCount(), l.frames);
      EXPECT_TRUE(again.supportsAnimation());
      again.read();
      EXPECT_EQ(again.nextImageDelay(), l.delay_cs * 10);
      EXPECT_EQ(again.loopCount(), -1);  // plays for ever
      // Each frame moves the animation on: no two are alike.
      for (size_t i = 0; i < frames.size(); ++i) {
        for (size_t j = i + 1; j < frames.size(); ++j) EXPECT_NE(frames[i], frames[j]) << i << j;
      }
    }
  }
}

TEST(ArtResources, InitIsRepeatableAndUnknownNamesAreAbsent) {
  art::InitResources();
  art::InitResources();
  EXPECT_TRUE(QFile::exists(ResourcePath("main_panel.jpg")));
  EXPECT_FALSE(QFile::exists(ResourcePath("main_panel.svg")));
  EXPECT_FALSE(QFile::exists(ResourcePath("manifest.tsv")));
}

TEST(ArtResources, ResourcesHoldExactlyTheBuiltFiles) {
  for (const Line& l : Manifest()) {
    const QByteArray built =
        Bytes(QStringLiteral(EXAMORA_ART_DIR "/") + QString::fromStdString(l.output));
    ASSERT_FALSE(built.isEmpty()) << l.output;
    EXPECT_EQ(Bytes(ResourcePath(l.output)), built) << l.output;
  }
}

#ifdef EXAMORA_HAVE_PICTURE_NAMES
TEST(ArtResources, EveryPictureTheWindowsNameIsBuilt) {
  namespace p = ui::pictures;
  for (std::string_view name :
       {p::kMainWindow, p::kMainPanel, p::kScoreWindow, p::kBadge, p::kStopwatch, p::kSpinner,
        p::kNextRest, p::kNextLit, p::kPreviousRest, p::kPreviousLit, p::kMasteredRest,
        p::kMasteredLit, p::kPlaceholder, p::kRightMark, p::kWrongMark}) {
    EXPECT_TRUE(QFile::exists(ResourcePath(std::string(name)))) << name;
  }
}
#endif

// Controls that sit on a white frame of the panel (white labels, pictures with white grounds,
// the settings bar), at their places relative to it.
struct Place {
  const char* name;
  QRect rect;
};
const Place kWhiteOnPanel[] = {
    {"题目", {25, 98, 751, 94}},
    {"A", {83, 214, 500, 34}},
    {"B", {83, 264, 500, 34}},
    {"C", {83, 314, 500, 34}},
    {"D", {83, 366, 500, 34}},
    {"标签2", {575, 178, 16, 16}},
    {"共标签", {591, 178, 32, 16}},
    {"标签8", {623, 178, 48, 16}},
    {"第标签", {671, 178, 32, 16}},
    {"标签10", {703, 178, 16, 16}},
    {"热键标签", {29, 445, 59, 14}},
    {"您的答案", {93, 416, 48, 46}},
    {"asdf", {157, 445, 59, 14}},
    {"正确答案", {221, 416, 48, 46}},
    {"对错", {314, 416, 48, 48}},
    {"答对的题图片框", {450, 424, 170, 64}},
    {"分数标签", {624, 417, 125, 75}},
    {"分标签", {752, 459, 24, 24}},
    {"图形按钮2", {21, 465, 96, 29}},
    {"图形按钮3", {125, 465, 96, 29}},
    {"图形按钮1", {232, 465, 214, 29}},
    {"外形框2", {23, 509, 755, 33}},
    {"超文本浏览框1", {603, 212, 181, 190}},
    {"对错1", {739, 152, 35, 44}},
};

TEST(MainPanel, WhiteFramesLieUnderEveryControlThatExpectsThem) {
  const QImage panel = Load("main_panel.jpg");
  ASSERT_EQ(panel.size(), QSize(800, 600));
  for (const Place& p : kWhiteOnPanel) {
    // JPEG leaves a faint haze near the frame edges; the inside must be white.
    EXPECT_LE(WorstDistance(panel, p.rect, qRgb(255, 255, 255)), 12) << p.name;
  }
}

TEST(MainPanel, GapsBetweenFramesAndTheProgressLineAreDark) {
  const QImage panel = Load("main_panel.jpg");
  // The progress line is grey text drawn straight onto the artwork: it needs a dark ground.
  EXPECT_LT(MeanLuminance(panel, {188, 68, 300, 16}), 80.0);
  // Between the frames the ground shows, so each frame reads as a frame.
  EXPECT_LT(MeanLuminance(panel, {100, 204, 400, 3}), 100.0);  // question / options
  EXPECT_LT(MeanLuminance(panel, {593, 240, 4, 120}), 100.0);  // options / picture
  EXPECT_LT(MeanLuminance(panel, {100, 253, 400, 5}), 100.0);  // option A / option B
  EXPECT_LT(MeanLuminance(panel, {100, 502, 600, 2}), 100.0);  // result / settings
  // The title banner and the key legend carry light lettering on their dark ground.
  EXPECT_GT(CountPixels(panel.copy(60, 5, 400, 45), [](QRgb c) { return qGray(c) > 230; }), 500);
  EXPECT_GT(CountPixels(panel.copy(20, 556, 760, 34), [](QRgb c) { return qGray(c) > 230; }), 1500);
}

TEST(SmallPictures, BlanksAndFacesAreWhereTheirLabelsWrite) {
  // The badge's number is written at 56, 5 (24 x 12): the blank must be white there.
  const QImage badge = Load("badge.gif");
  EXPECT_EQ(WorstDistance(badge, {56, 5, 24, 12}, qRgb(255, 255, 255)), 0);
  // The remaining minutes go at 7, 20 (20 x 18) on the stopwatch: a light face, not the rim.
  const QImage watch = Load("stopwatch.gif");
  EXPECT_GT(MeanLuminance(watch, {7, 20, 20, 18}), 225.0);
  // The score window writes its red score at 216, 8 (120 x 64) and the orange link "关闭"
  // at 8, 277 (40 x 16): light behind the one, dark behind the other.
  const QImage score = Load("score_window.jpg");
  EXPECT_GT(MeanLuminance(score, {216, 8, 120, 64}), 235.0);
  EXPECT_LT(MeanLuminance(score, {8, 277, 40, 16}), 90.0);
}

TEST(SmallPictures, MarksAndButtonLooksAreNotSwapped) {
  const QImage right = Load("right_mark.gif"), wrong = Load("wrong_mark.gif");
  EXPECT_GT(CountPixels(right, Greenish), 1500);
  EXPECT_EQ(CountPixels(right, Reddish), 0);
  EXPECT_GT(CountPixels(wrong, Reddish), 1500);
  EXPECT_EQ(CountPixels(wrong, Greenish), 0);
  // Resting looks have a grey caption, highlighted looks a red one.
  for (const char* button : {"next", "previous", "mastered"}) {
    const std::string name(button);
    EXPECT_EQ(CountPixels(Load(name + "_rest.gif"), Reddish), 0) << name;
    EXPECT_GT(CountPixels(Load(name + "_lit.gif"), Reddish), 40) << name;
    EXPECT_NE(Load(name + "_rest.gif"), Load(name + "_lit.gif")) << name;
  }
}

// ---------------------------------------------------------------- the build tool itself

int RunTool(const QStringList& args, QString* errors = nullptr) {
  QProcess tool;
  tool.start(QStringLiteral(EXAMORA_ART_TOOL), args);
  if (!tool.waitForFinished(120000)) return -1;
  if (errors) *errors = QString::fromLocal8Bit(tool.readAllStandardError());
  return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

TEST(ArtTool, SameSourcesGiveTheSameBytes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString src = QFileInfo(QStringLiteral(EXAMORA_ART_MANIFEST)).absolutePath();
  ASSERT_EQ(RunTool({EXAMORA_ART_MANIFEST, src, dir.filePath("one")}), 0);
  ASSERT_EQ(RunTool({EXAMORA_ART_MANIFEST, src, dir.filePath("two")}), 0);
  for (const Line& l : Manifest()) {
    const QString name = QString::fromStdString(l.output);
    const QByteArray one = Bytes(dir.filePath("one/" + name));
    ASSERT_FALSE(one.isEmpty()) << l.output;
    EXPECT_EQ(one, Bytes(dir.filePath("two/" + name))) << l.output;
    EXPECT_EQ(one, Bytes(ResourcePath(l.output))) << l.output;
  }
}

// Writes `manifest` and one 40 x 30 source into a fresh folder, runs the tool, and returns
// its exit code; `*made` tells whether any picture was written.
int RunOnManifest(const std::string& manifest, bool* made, QString* errors) {
  QTemporaryDir dir;
  {
    std::ofstream(dir.filePath("m.tsv").toStdString()) << manifest;
    std::ofstream(dir.filePath("a.svg").toStdString())
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" baseProfile=\"tiny\" "
           "width=\"40\" height=\"30\" viewBox=\"0 0 40 30\"><rect width=\"40\" height=\"30\" "
           "fill=\"#13A3A3\"/></svg>\n";
    std::ofstream(dir.filePath("bad.svg").toStdString()) << "<svg";
  }
  const int code = RunTool({dir.filePath("m.tsv"), dir.path(), dir.filePath("out")}, errors);
  *made = !QDir(dir.filePath("out")).entryList(QDir::Files).isEmpty();
  return code;
}

TEST(ArtTool, BuildsAGoodManifestAndRejectsFaultyOnes) {
  bool made = false;
  QString errors;
  ASSERT_EQ(RunOnManifest("# note\n\na.gif\tgif\t40\t30\ta.svg\t-\n", &made, &errors), 0)
      << errors.toStdString();
  EXPECT_TRUE(made);

  struct Case {
    const char* why;
    std::string manifest;
  };
  const Case cases[] = {
      {"size differs from the SVG", "a.jpg\tjpeg\t41\t30\ta.svg\t-\n"},
      {"missing source", "a.jpg\tjpeg\t40\t30\tnone.svg\t-\n"},
      {"source that does not parse", "a.gif\tgif\t40\t30\tbad.svg\t-\n"},
      {"unknown format", "a.png\tpng\t40\t30\ta.svg\t-\n"},
      {"JPEG with two frames", "a.jpg\tjpeg\t40\t30\ta.svg,a.svg\t10\n"},
      {"empty frame in a list", "a.gif\tgif\t40\t30\ta.svg,\t10\n"},
      {"output outside the folder", "../a.gif\tgif\t40\t30\ta.svg\t-\n"},
      {"same output twice", "a.gif\tgif\t40\t30\ta.svg\t-\na.gif\tgif\t40\t30\ta.svg\t-\n"},
      {"zero delay", "a.gif\tgif\t40\t30\ta.svg,a.svg\t0\n"},
      {"too few fields", "a.gif\tgif\t40\t30\n"},
      {"no pictures at all", "# only a comment\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunOnManifest(c.manifest, &made, &errors), 1) << c.why;
    EXPECT_FALSE(errors.isEmpty()) << c.why;
    EXPECT_FALSE(made) << c.why;  // a failed picture is never left half-written
  }
}

TEST(ArtTool, AnimationFramesFollowTheManifestOrder) {
  QTemporaryDir dir;
  const char* colours[] = {"#FF0000", "#00FF00", "#0000FF"};
  for (int i = 0; i < 3; ++i) {
    std::ofstream(dir.filePath(QStringLiteral("f%1.svg").arg(i)).toStdString())
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\" viewBox=\"0 0 8 8\">"
        << "<rect width=\"8\" height=\"8\" fill=\"" << colours[i] << "\"/></svg>\n";
  }
  std::ofstream(dir.filePath("m.tsv").toStdString())
      << "x.gif\tgif\t8\t8\tf2.svg,f0.svg,f1.svg\t7\n";
  ASSERT_EQ(RunTool({dir.filePath("m.tsv"), dir.path(), dir.path()}), 0);
  QImageReader reader(dir.filePath("x.gif"));
  const QRgb want[] = {qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 255, 0)};
  for (QRgb w : want) {
    const QImage f = reader.read();
    ASSERT_FALSE(f.isNull());
    EXPECT_EQ(f.pixel(4, 4) | 0xFF000000u, w);
    EXPECT_EQ(reader.nextImageDelay(), 70);
  }
}

TEST(ArtTool, GifOfFramesOfUnequalSizeIsRefusedNotOverread) {
  QImage big(16, 16, QImage::Format_RGB32), small(4, 4, QImage::Format_RGB32);
  big.fill(Qt::white);
  small.fill(Qt::black);
  EXPECT_TRUE(art::EncodeGif({big, small}).empty());
  EXPECT_TRUE(art::EncodeGif({small, big}).empty());
  EXPECT_FALSE(art::EncodeGif({big, big}).empty());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  art::InitResources();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
