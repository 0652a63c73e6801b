#pragma once

#include "catalogue/feed_data.h"
#include "catalogue/machine_data.h"
#include "gears/differential_ratio.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "gears/set_facts.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A hobbing job: the part and the machine in, the change-gear trains of the
// machine's box out (index, differential and feed), with the hob's setting
// angle, the helix the machine will cut, the first-piece correction and, in
// words, what stands in the way and which one gear would help. Where no
// exact index train exists the index train is set for a nearby Z0 and the
// differential makes up the rest (differential indexing). Reads the machine
// file and the machine data of the catalogue; the window and kelvaro-calc
// only show what it gives.

namespace kelvaro {

enum class Hands { Unknown, Same, Opposite };
enum class Hand { Unknown, Left, Right };

// The field texts, read as the windows read numbers; an override replaces
// the machine data's fact for this job (empty: none).
struct JobRequest {
    std::string model;
    std::string teeth, starts = "1", module, degrees, minutes, seconds, tolerance = "0.00001";
    std::string hobLead; // degrees; empty: no setting angle
    Hands hands = Hands::Unknown;
    // Both hands known: same or opposite follows from them, whatever `hands` says.
    Hand partHand = Hand::Unknown, hobHand = Hand::Unknown;
    // First piece: none, or the measured angle was larger / smaller by
    // `deviation` µm over `length` mm.
    enum class Measured { None, Larger, Smaller } measured = Measured::None;
    std::string deviation, length;
    std::string indexConstant, box, clearance;
    std::string feed;      // the wanted feed s_w, mm per table revolution; empty: none
    std::string faceWidth; // b, mm; empty: no deviation in µm
    // "C[,C…]" feed constants and "A/B[,A/B…]" feed pairs for this job.
    std::string feedConstants, feedPairs;
    HelixExtra helixExtra = HelixExtra::Unknown; // Unknown: the machine data's
};

// A differential set with what it cuts.
struct HelixSet {
    GearSet set; // as mounted, its error against the wanted ratio
    double ratio = 0;
    std::optional<double> relativeErrorPpm;
    std::optional<double> helixDegrees;
    std::optional<double> helixDeviationArcsec;  // from the target angle
    std::optional<double> helixDeviationMicrons; // f over the face width, where it is given
};

struct JobCorrection {
    double deltaArcsec = 0;
    bool larger = false;
    double targetDegrees = 0;
    std::optional<HelixSet> set; // beside the same index set
    std::string reason;          // where there is no set
};

struct AddOneGear {
    int teeth = 0;
    std::optional<GearSet> index;
    std::optional<HelixSet> differential;
};

// How the index train divides the table: exactly for Z, or for Z0 = Z + Δ
// with the differential adding the rest; None where there is no index set.
enum class IndexMethod { None, Exact, Differential };

struct Compensation {
    Fraction delta;    // Δ = ±p / q, lowest terms, positive denominator
    Fraction z0;       // Z + Δ, likewise
    Fraction fraction; // C × K / Z0 in lowest terms
};

// The feed pair a1 / b1 on one feed line: s = C_f × a1 / b1.
struct FeedTrain {
    double wanted = 0;    // s_w, mm per table revolution
    double constant = 0;  // C_f
    std::string note;     // the feed line's note
    int a = 0, b = 0;     // a1, b1
    bool fromBox = false; // taken from the change-gear box, not the feed pairs
    double feed = 0;      // the exact s
};

// The sense of the differential's output at the table, against the table's
// generating rotation.
enum class Turns { Unknown, With, Against };

struct HobbingJob {
    std::string message; // refused: nothing else holds

    std::string model;
    MachineKind kind = MachineKind::Default;
    GearBox box;
    double clearance = kDefaultClearance;
    std::string dataNote; // where the machine data came from, or what is wrong with them

    int teeth = 0, starts = 1;
    double module = 0, helixDegrees = 0; // the typed angle in degrees
    double machineConstant = 0;          // the machine file's differential constant
    Fraction fraction;                   // C × K / Z in lowest terms
    std::optional<Fraction> constant;    // C, where an index row holds Z / K
    std::string note;                    // the row's note
    std::optional<GearSet> indexSet;
    std::string indexReason;
    IndexMethod indexMethod = IndexMethod::None;
    std::optional<Compensation> compensated;    // differential indexing
    std::vector<std::string> compensationWords; // Z0, the sense, the rapid-traverse check

    std::optional<FeedTrain> feed;
    std::string feedReason; // why there is no feed train, where one was wanted
    std::optional<double> faceWidth;

    bool helical = false;
    double differentialRatio = 0, tolerance = 0; // |u|
    // u = helixTerm + compensationTerm, > 0 turning the table with its
    // generating rotation; for an exact job u = helixTerm (σ +1 where the
    // hands or the helix extra are unknown).
    double signedRatio = 0, helixTerm = 0, compensationTerm = 0;
    Turns turns = Turns::Unknown;
    std::optional<bool> sameSenseAsHelical; // differential indexing of a helical gear
    std::optional<HelixSet> differential;   // for a spur gear: the compensation set
    std::string differentialReason;
    std::optional<double> largestDeviationMicrons; // over b, from an error of T

    GearBox gearsUsed;
    std::optional<double> settingAngle; // degrees
    std::string settingWords;
    std::optional<JobCorrection> correction;
    std::optional<AddOneGear> addOne;
    std::string addOneReason; // why no one gear helps, where the box cannot do the job
    std::string addOneWords;  // "或者在挂轮箱里加一个 N 齿的挂轮，用精确分齿"
};

// Same or opposite: from the two hands where both are known, else as told.
Hands handsOf(const JobRequest& request);

HobbingJob runHobbingJob(const JobRequest& request, const std::string& directory,
                         SearchControl* control = nullptr, FileSystem& fs = realFileSystem());

// A box of more tooth counts than this makes a job take seconds.
inline constexpr std::size_t kLargeBox = 400;
// Said before a job on such a box: how many counts, and about how long the
// job may take; empty for a smaller box.
std::string largeBoxNotice(const JobRequest& request, const std::string& directory,
                           FileSystem& fs = realFileSystem());

} // namespace kelvaro
