#pragma once

#include "output/SurveyLeg.h"
#include "output/SurveyText.h"
#include "stations/StationTable.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

constexpr int GridShiftLimit = 500; // the grid moves at most this many source pixels either way

enum class ProfileKind { None, Extended, Projective };
enum class ViewSide { Plan = 0, Profile = 1 };

// What a project stores about one drawing and its view: the scan, the zoom, the pane's share of
// the width, and the scale grid (the cell in force, the scale it gave, the two entry texts as
// typed, the shift of the lattice and whether it is shown).
struct ViewSettings
{
    QString imagePath;
    QImage image;                // the decoded scan (read again from imagePath when a project opens)
    double zoom = 1.0;           // displayed pixels per source pixel
    float paneFraction = 0.5f;   // share of (window width - 20) given to this pane
    double gridPixels = 50.0;    // grid cell in force, source pixels
    double metresPerPixel = 0.0; // 0 until a scale is set
    QString gridMetresEntry = QStringLiteral("10");
    QString gridPixelsEntry = QStringLiteral("50");
    int gridShiftRight = 0;      // the horizontal grid up-down
    int gridShiftUp = 0;         // the vertical one; the lattice's y offset is its negation
    bool gridShown = true;

    int imageWidth() const { return image.width(); }
    int imageHeight() const { return image.height(); }
};

// The survey being digitised: everything a project file stores (stations, both views' settings,
// plan orientation, profile kind, display and output choices) and whether it changed since it
// was last saved. Every change goes through a setter, which reports it with changed(); a
// ChangeBatch groups the changes of one command into one report.
class SurveyDocument : public QObject
{
    Q_OBJECT
public:
    enum Part {
        StationsPart = 0x01,
        PlanViewPart = 0x02,
        ProfileViewPart = 0x04,
        ProfileKindPart = 0x08,
        DisplayPart = 0x10,     // labels and legs shown
        OutputPart = 0x20,      // format and style of the survey text
        OrientationPart = 0x40,
        ModifiedPart = 0x80,
        GridEntriesPart = 0x100, // the grid entries as typed: nothing shows them until "OK"
        PanesPart = 0x200,       // the panes' shares of the width
    };
    Q_DECLARE_FLAGS(Parts, Part)
    static Part viewPart(ViewSide side) { return side == ViewSide::Plan ? PlanViewPart : ProfileViewPart; }

    explicit SurveyDocument(QObject *parent = nullptr);

    const StationTable &stations() const { return m_stations; }
    const ViewSettings &view(ViewSide side) const { return m_views[int(side)]; }
    ProfileKind profileKind() const { return m_profileKind; }
    bool hasProfile() const { return m_profileKind == ProfileKind::Extended; }
    const QString &orientationEntry() const { return m_orientationEntry; } // plan north, degrees, as typed
    bool showLabels() const { return m_showLabels; }
    bool showLines() const { return m_showLines; }
    SurveyFormat format() const { return m_format; }
    SurveyStyle style() const { return m_style; }
    bool modified() const { return m_modified; }

    void editStations(const std::function<void(StationTable &)> &change);
    void editView(ViewSide side, const std::function<void(ViewSettings &)> &change);
    void setGridEntries(ViewSide side, const QString &metres, const QString &pixels);
    void setPaneFractions(float plan, float profile);
    void setProfileKind(ProfileKind kind);
    void setOrientationEntry(const QString &text);
    void setShowLabels(bool shown);
    void setShowLines(bool shown);
    void setFormat(SurveyFormat format);
    void setStyle(SurveyStyle style);
    void setModified(bool modified);

    // Changes made between begin and end are reported once, at the end.
    void beginChanges();
    void endChanges();

signals:
    void changed(SurveyDocument::Parts parts);

private:
    void notify(Parts parts);

    StationTable m_stations;
    ViewSettings m_views[2];
    ProfileKind m_profileKind = ProfileKind::Extended;
    QString m_orientationEntry = QStringLiteral("0");
    bool m_showLabels = true;
    bool m_showLines = true;
    SurveyFormat m_format = SurveyFormat::LumaroFromTo;
    SurveyStyle m_style = SurveyStyle::Angle;
    bool m_modified = false;
    int m_batchDepth = 0;
    Parts m_batched;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SurveyDocument::Parts)
