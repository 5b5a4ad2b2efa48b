#include "bench/window/InterleavedStarts.h"

namespace vantrel::bench {

void MeasureInterleavedStarts(int runs, std::vector<ProgramStarts>& programs,
                              const SendToFiles& few, const SendToFiles& many,
                              const std::function<void(int run)>& beforeRun) {
    const auto withFew = testing::ChildEnvironment::Current().Set(L"APPDATA", few.AppData());
    const auto withMany = testing::ChildEnvironment::Current().Set(L"APPDATA", many.AppData());

    // The first starts load what later ones find ready: not counted.
    for (const ProgramStarts& starts : programs) {
        MeasureStart(starts.program, withMany, many.Count());
    }
    for (int run = 0; run < runs; ++run) {
        if (beforeRun) beforeRun(run);
        for (std::size_t i = 0; i < programs.size(); ++i) {
            ProgramStarts& starts = programs[(static_cast<std::size_t>(run) + i) % programs.size()];
            starts.few.Add(MeasureStart(starts.program, withFew, few.Count()).milliseconds);
            starts.many.Add(MeasureStart(starts.program, withMany, many.Count()).milliseconds);
        }
    }
}

}  // namespace vantrel::bench
