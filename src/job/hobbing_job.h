#pragma once

#include "catalogue/machine_data.h"
#include "gears/differential_ratio.h"
#include "gears/gear_set.h"
#include "gears/search_control.h"
#include "gears/set_facts.h"
#include "platform/file_system.h"

#include <optional>
#include <string>
#include <string_view>

// A hobbing job: the part and the machine in, both change-gear trains of the
// machine's box out, with the hob's setting angle, the first-piece
// correction and, in words, what stands in the way and which one gear would
// help. Reads the machine file and the machine data of the catalogue; the
// window and kelvaro-calc only show what it gives.

namespace kelvaro {

enum class Hands { Unknown, Same, Opposite };

// The field texts, read as the windows read numbers; an override replaces
// the machine data's fact for this job (empty: none).
struct JobRequest {
    std::string model;
    std::string teeth, starts = "1", module, degrees, minutes, seconds, tolerance = "0.00001";
    std::string hobLead; // degrees; empty: no setting angle
    Hands hands = Hands::Unknown;
    // First piece: none, or the measured angle was larger / smaller by
    // `deviation` µm over `length` mm.
    enum class Measured { None, Larger, Smaller } measured = Measured::None;
    std::string deviation, length;
    std::string indexConstant, box, clearance;
};

// A differential set with what it cuts.
struct HelixSet {
    GearSet set; // as mounted, its error against the wanted ratio
    double ratio = 0;
    std::optional<double> relativeErrorPpm;
    std::optional<double> helixDegrees;
    std::optional<double> helixDeviationArcsec; // from the target angle
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

struct HobbingJob {
    std::string message; // refused: nothing else holds

    std::string model;
    MachineKind kind = MachineKind::Default;
    GearBox box;
    double clearance = kDefaultClearance;
    std::string dataNote; // where the machine data came from, or what is wrong with them

    int teeth = 0, starts = 1;
    double module = 0, helixDegrees = 0; // the typed angle in degrees
    Fraction fraction;                   // C × K / Z in lowest terms
    std::optional<Fraction> constant;    // C, where an index row holds Z / K
    std::string note;                    // the row's note
    std::optional<GearSet> indexSet;
    std::string indexReason;

    bool helical = false;
    double differentialRatio = 0, tolerance = 0;
    std::optional<HelixSet> differential;
    std::string differentialReason;

    GearBox gearsUsed;
    std::optional<double> settingAngle; // degrees
    std::string settingWords;
    std::optional<JobCorrection> correction;
    std::optional<AddOneGear> addOne;
    std::string addOneReason; // why no one gear helps, where the box cannot do the job
};

HobbingJob runHobbingJob(const JobRequest& request, const std::string& directory,
                         SearchControl* control = nullptr, FileSystem& fs = realFileSystem());

} // namespace kelvaro
