#include "LabelReader.h"

#include "TraceInk.h"

#include "survey/Truncate.h"

#include <opencv2/imgproc.hpp>
#include <tesseract/baseapi.h>
#include <algorithm>
#include <cmath>

namespace {

// Labels sit within this many pixels of their mark (a label of large print, set off a little).
constexpr int WindowHalf = 96;
// Letters of labels are this many pixels high, at most.
constexpr int TallestLetter = 48;
// Letters of small print, blurred by the scanner, are this dark (0 paper .. 255 black) at least.
constexpr int LetterDarkness = 70;
// Tesseract reads best at about this height of capital letters.
constexpr double ReadingHeight = 40.0;

const char *const Letters = "0123456789"
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                            "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯабвгдежзиклмнопрстуфхцчшщэюя";

struct Part
{
    QRect box; // in window pixels
    int label;
};

bool overlapsAcross(const QRect &a, const QRect &b)
{
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top()) + 1;
    return overlap >= 0.5 * std::min(a.height(), b.height());
}

int gapBetween(const QRect &a, const QRect &b)
{
    if (a.right() < b.left())
        return b.left() - a.right() - 1;
    if (b.right() < a.left())
        return a.left() - b.right() - 1;
    return 0;
}

double distanceTo(const QRect &box, QPointF p)
{
    const double dx = std::max({double(box.left()) - p.x(), 0.0, p.x() - double(box.right() + 1)});
    const double dy = std::max({double(box.top()) - p.y(), 0.0, p.y() - double(box.bottom() + 1)});
    return std::hypot(dx, dy);
}

} // namespace

// English and Russian read apart: together, the English model wins where letters differ (П is
// read N with all confidence), so each reads the label and the surer one is taken.
struct LabelReader::Engine
{
    tesseract::TessBaseAPI latin, cyrillic;
    bool ready = false;
};

namespace {

bool start(tesseract::TessBaseAPI &api, const char *language)
{
    if (api.Init(nullptr, language, tesseract::OEM_LSTM_ONLY) != 0)
        return false;
    api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    api.SetVariable("tessedit_char_whitelist", Letters);
    api.SetVariable("debug_file", "/dev/null");
    return true;
}

// The text Tesseract reads on `image` and how sure it is of its least sure word.
std::pair<QString, double> readWith(tesseract::TessBaseAPI &api, const cv::Mat &image)
{
    api.SetImage(image.data, image.cols, image.rows, 1, int(image.step));
    api.SetSourceResolution(300);
    std::unique_ptr<char[]> text(api.GetUTF8Text());
    const QString read = QString::fromUtf8(text ? text.get() : "").simplified().remove(QLatin1Char(' '));
    double least = 100.0;
    if (std::unique_ptr<int[]> sure{api.AllWordConfidences()})
        for (int i = 0; sure[size_t(i)] >= 0; ++i)
            least = std::min(least, double(sure[size_t(i)]));
    api.Clear();
    return {read, read.isEmpty() ? 0.0 : std::clamp(least / 100.0, 0.0, 1.0)};
}

} // namespace

LabelReader::LabelReader() : m_engine(std::make_unique<Engine>())
{
    m_engine->ready = start(m_engine->latin, "eng") && start(m_engine->cyrillic, "rus");
}

LabelReader::~LabelReader() = default;

bool LabelReader::ready() const { return m_engine->ready; }

LabelReader::Reading LabelReader::read(const QImage &scan, QPointF centre, double markRadius)
{
    Reading reading;
    if (!m_engine->ready || scan.isNull() || !std::isfinite(centre.x()) || !std::isfinite(centre.y())
        || !std::isfinite(markRadius))
        return reading;
    const int cx = truncToInt(std::floor(centre.x())), cy = truncToInt(std::floor(centre.y()));
    const QRect window = QRect(cx - WindowHalf, cy - WindowHalf, 2 * WindowHalf + 1, 2 * WindowHalf + 1) & scan.rect();
    if (window.isEmpty())
        return reading;
    // Dust is a lone dark pixel: no darker than its darkest neighbour, it is gone, while a
    // stroke's pixels keep their darkness.
    const cv::Mat raw = TraceInk::readDarkness(scan, window);
    cv::Mat neighbours, darkness;
    cv::Mat ring = cv::Mat::ones(3, 3, CV_8U);
    ring.at<uchar>(1, 1) = 0;
    cv::dilate(raw, neighbours, ring);
    cv::min(raw, neighbours, darkness);
    // Small print is faint once scanned: letters are read at a lower darkness than lines.
    const cv::Mat ink = darkness >= LetterDarkness;
    cv::Mat labels, stats, centroids;
    const int parts = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    const QPointF local = centre - QPointF(window.topLeft());
    const double radius = std::clamp(markRadius, 1.0, double(TraceInk::MaximumMarkSize));
    // The mark and everything joined to it (its lines, a wall it touches) are not the label.
    int markPart = 0;
    double nearestInk = radius + 3;
    for (int y = std::max(0, truncToInt(local.y() - radius - 3)); y < std::min(ink.rows, truncToInt(local.y() + radius + 4)); ++y)
        for (int x = std::max(0, truncToInt(local.x() - radius - 3)); x < std::min(ink.cols, truncToInt(local.x() + radius + 4)); ++x)
            if (const int l = labels.at<int>(y, x); l != 0) {
                const double d = std::hypot(x + 0.5 - local.x(), y + 0.5 - local.y());
                if (d < nearestInk) {
                    nearestInk = d;
                    markPart = l;
                }
            }
    std::vector<Part> letters;
    for (int l = 1; l < parts; ++l) {
        const QRect box(stats.at<int>(l, cv::CC_STAT_LEFT), stats.at<int>(l, cv::CC_STAT_TOP),
                        stats.at<int>(l, cv::CC_STAT_WIDTH), stats.at<int>(l, cv::CC_STAT_HEIGHT));
        if (l == markPart || box.height() < 4 || box.height() > TallestLetter || box.width() > TallestLetter
            || stats.at<int>(l, cv::CC_STAT_AREA) < 5)
            continue;
        if (box.left() == 0 || box.top() == 0 || box.right() == ink.cols - 1 || box.bottom() == ink.rows - 1)
            continue;
        letters.push_back({box, l});
    }
    // The letter nearest the mark starts the label; letters in line with it and close by join it.
    const auto nearest = std::min_element(letters.begin(), letters.end(), [&](const Part &a, const Part &b) {
        return distanceTo(a.box, local) < distanceTo(b.box, local);
    });
    if (nearest == letters.end() || nearest->box.height() < 6
        || distanceTo(nearest->box, local) > radius + 2.5 * nearest->box.height() + 8)
        return reading;
    std::vector<int> word{nearest->label};
    QRect box = nearest->box;
    std::vector<bool> taken(letters.size());
    taken[size_t(nearest - letters.begin())] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < letters.size(); ++i) {
            const Part &p = letters[i];
            if (taken[i] || !overlapsAcross(p.box, box) || gapBetween(p.box, box) > 0.9 * box.height()
                || p.box.height() < 0.5 * box.height())
                continue;
            taken[i] = true;
            word.push_back(p.label);
            box |= p.box;
            grew = true;
        }
    }
    // The label dark on white, with a margin, at full contrast; the mark's lines and anything
    // too big for a letter left out.
    const int pad = box.height() / 2 + 2;
    const QRect crop = box.adjusted(-pad, -pad, pad, pad) & QRect(0, 0, ink.cols, ink.rows);
    std::vector<uchar> foreign(size_t(parts), 0);
    for (int l = 1; l < parts; ++l)
        foreign[size_t(l)] = l == markPart || stats.at<int>(l, cv::CC_STAT_HEIGHT) > TallestLetter
            || stats.at<int>(l, cv::CC_STAT_WIDTH) > TallestLetter;
    // Full contrast at the darkness most of the letters' ink reaches (dust is darker still).
    std::vector<uchar> levels;
    for (int l : word)
        for (int y = stats.at<int>(l, cv::CC_STAT_TOP); y < stats.at<int>(l, cv::CC_STAT_TOP) + stats.at<int>(l, cv::CC_STAT_HEIGHT); ++y)
            for (int x = stats.at<int>(l, cv::CC_STAT_LEFT); x < stats.at<int>(l, cv::CC_STAT_LEFT) + stats.at<int>(l, cv::CC_STAT_WIDTH); ++x)
                if (labels.at<int>(y, x) == l)
                    levels.push_back(darkness.at<uchar>(y, x));
    std::nth_element(levels.begin(), levels.begin() + long(levels.size() * 8 / 10), levels.end());
    const double strongest = std::max(double(LetterDarkness), double(levels[levels.size() * 8 / 10]));
    std::vector<uchar> own(size_t(parts), 0);
    for (int l : word)
        own[size_t(l)] = 1;
    cv::Mat clean(crop.height(), crop.width(), CV_8U, cv::Scalar(255));
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x) {
            const int wy = crop.top() + y, wx = crop.left() + x;
            bool mine = false, near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int yy = wy + dy, xx = wx + dx;
                    if (yy < 0 || xx < 0 || yy >= ink.rows || xx >= ink.cols)
                        continue;
                    mine = mine || own[size_t(labels.at<int>(yy, xx))];
                    near = near || foreign[size_t(labels.at<int>(yy, xx))];
                }
            if (mine && !near) {
                const double level = std::clamp((darkness.at<uchar>(wy, wx) - 25.0) / (strongest - 25.0), 0.0, 1.0);
                clean.at<uchar>(y, x) = uchar(255 - std::lround(255 * level));
            }
        }
    const double scale = std::clamp(ReadingHeight / box.height(), 1.0, 6.0);
    cv::Mat large;
    cv::resize(clean, large, cv::Size(), scale, scale, cv::INTER_CUBIC);
    // Crisp black on white, as Tesseract's models were taught.
    cv::threshold(large, large, 150, 255, cv::THRESH_BINARY);
    cv::Mat framed;
    cv::copyMakeBorder(large, framed, 16, 16, 16, 16, cv::BORDER_CONSTANT, cv::Scalar(255));
    const auto [latin, latinSure] = readWith(m_engine->latin, framed);
    const auto [cyrillic, cyrillicSure] = readWith(m_engine->cyrillic, framed);
    // Where the two agree but for letters only Russian has (П read N by the English model, which
    // knows no П), the Russian reading is the label, as sure as the two together.
    bool russianLetters = cyrillic.size() == latin.size() && cyrillicSure >= 0.5;
    for (qsizetype i = 0; russianLetters && i < cyrillic.size(); ++i)
        russianLetters = cyrillic[i] == latin[i] || (cyrillic[i].unicode() >= 0x0400 && latin[i].unicode() < 0x80);
    russianLetters = russianLetters && cyrillic != latin;
    if (russianLetters) {
        reading.text = cyrillic;
        reading.confidence = (latinSure + cyrillicSure) / 2;
    } else {
        const bool byLatin = latinSure >= cyrillicSure;
        reading.text = byLatin ? latin : cyrillic;
        reading.confidence = byLatin ? latinSure : cyrillicSure;
    }
    reading.box = box.translated(window.topLeft());
    return reading;
}

std::vector<TraceLabels::Settled> LabelReader::readTraverse(const QImage &scan, const std::vector<QPointF> &centres,
                                                            const std::vector<double> &markRadii)
{
    std::vector<Reading> readings;
    QStringList texts;
    for (size_t i = 0; i < centres.size(); ++i) {
        readings.push_back(read(scan, centres[i], i < markRadii.size() ? markRadii[i] : 5.0));
        texts << readings.back().text;
    }
    texts = TraceLabels::inOneScript(texts);
    std::vector<TraceLabels::Reading> series;
    for (size_t i = 0; i < readings.size(); ++i)
        series.push_back({texts[qsizetype(i)], readings[i].confidence});
    return TraceLabels::settle(series);
}
