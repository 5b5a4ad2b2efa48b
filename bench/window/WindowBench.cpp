// Vantrel's window against minimal Win32 floors, side by side in one run under
// the same conditions: start-up, the list fill, the reload cycle and memory.
// Usage: vantrel_window_bench [runs]; VANTREL_EXE, VANTREL_FLOOR_EXE and
// VANTREL_SAME_JOB_FLOOR_EXE name the programs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <vector>

#include "app/Layout.h"
#include "bench/window/BareListFill.h"
#include "bench/window/FloorWindow.h"
#include "bench/window/InProcessForm.h"
#include "bench/window/Report.h"
#include "bench/window/StartupMeasure.h"
#include "platform/win32/ListingOrder.h"
#include "platform/win32/Win32Platform.h"
#include "tests/e2e/VantrelProcess.h"

namespace vantrel::bench {
namespace {

constexpr int kFewFiles = 20;
constexpr int kManyFiles = 10000;

struct StartSeries {
    Samples floor, few, many;
    Samples sameFew, sameMany;                  // the same-job floor
    Samples floorPeak, manyPeak, sameManyPeak;  // MB
};

double Megabytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

StartSeries MeasureStarts(int runs, const SendToFiles& few, const SendToFiles& many) {
    const TimedProgram vantrel{testing::VantrelExe(), testing::kVantrelWindowClass, app::kList1};
    const TimedProgram floor{testing::ExeNamedBy(L"VANTREL_FLOOR_EXE"), kFloorWindowClass,
                             kFloorListId};
    const TimedProgram sameJob{testing::ExeNamedBy(L"VANTREL_SAME_JOB_FLOOR_EXE"),
                               kSameJobFloorWindowClass, app::kList1};
    const auto withFew = testing::ChildEnvironment::Current().Set(L"APPDATA", few.AppData());
    const auto withMany = testing::ChildEnvironment::Current().Set(L"APPDATA", many.AppData());

    // The first starts load what later ones find ready (Wine's DLLs, fonts): not counted.
    MeasureStart(floor, withFew, 0);
    MeasureStart(vantrel, withFew, kFewFiles);
    MeasureStart(vantrel, withMany, kManyFiles);
    MeasureStart(sameJob, withFew, kFewFiles);

    // Interleaved, so a burst of load on the machine hits every series alike, and
    // in a turning order, so no series always follows the same program.
    StartSeries series;
    const std::vector<std::function<void()>> starts = {
        [&] {
            const StartMeasurement run = MeasureStart(floor, withFew, 0);
            series.floor.Add(run.milliseconds);
            series.floorPeak.Add(Megabytes(run.peakWorkingSet));
        },
        [&] { series.few.Add(MeasureStart(vantrel, withFew, kFewFiles).milliseconds); },
        [&] {
            const StartMeasurement run = MeasureStart(vantrel, withMany, kManyFiles);
            series.many.Add(run.milliseconds);
            series.manyPeak.Add(Megabytes(run.peakWorkingSet));
        },
        [&] { series.sameFew.Add(MeasureStart(sameJob, withFew, kFewFiles).milliseconds); },
        [&] {
            const StartMeasurement run = MeasureStart(sameJob, withMany, kManyFiles);
            series.sameMany.Add(run.milliseconds);
            series.sameManyPeak.Add(Megabytes(run.peakWorkingSet));
        },
    };
    for (int run = 0; run < runs; ++run) {
        std::fprintf(stderr, "start-up run %d of %d\n", run + 1, runs);
        for (std::size_t i = 0; i < starts.size(); ++i)
            starts[(static_cast<std::size_t>(run) + i) % starts.size()]();
    }
    return series;
}

struct InProcessSeries {
    Samples listing, fill, bareFill, reload;
    Samples sortInOrder;  // names as NTFS hands them back
};

InProcessSeries MeasureInProcess(int runs, const SendToFiles& many) {
    InProcessForm form(many);
    BareListFill bare;
    form.TimeListFill();
    bare.Time(many.Folder(), kManyFiles);

    const std::vector<std::wstring> inOrder = win32::Win32Platform(L"").ListFiles(many.Folder());
    InProcessSeries series;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::wstring> names = inOrder;
        series.sortInOrder.Add(MillisecondsOf([&] { win32::SortForListing(names); }));
        series.listing.Add(form.TimeListing());
        series.fill.Add(form.TimeListFill());
        series.bareFill.Add(bare.Time(many.Folder(), kManyFiles));
        series.reload.Add(form.TimeReload());
    }
    return series;
}

double FileKilobytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        throw std::runtime_error("GetFileAttributesExW failed: " + std::to_string(GetLastError()));
    }
    return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow) /
           1024.0;
}

int Run(int runs) {
    std::fprintf(stderr, "making %d + %d files\n", kFewFiles, kManyFiles);
    const SendToFiles few(kFewFiles);
    const SendToFiles many(kManyFiles);
    const StartSeries starts = MeasureStarts(runs, few, many);
    std::fprintf(stderr, "list fill and reload in process\n");
    const InProcessSeries inProcess = MeasureInProcess(runs, many);

    const double fewStart = starts.few.Median();
    const double floorStart = starts.floor.Median();
    const double manyStart = starts.many.Median();
    const double fill = inProcess.fill.Median();
    const double bareFill = inProcess.bareFill.Median();
    const double reload = inProcess.reload.Median();
    const double fewRatio = fewStart / floorStart;
    const double manyAbove = manyStart - floorStart;
    const double fillRatio = fill / bareFill;
    const double sameFewRatio = fewStart / starts.sameFew.Median();
    const double sameManyRatio = manyStart / starts.sameMany.Median();

    PrintResults({
        {"Start-up, 20 files (ms)", Fixed(fewStart, 1), Fixed(floorStart, 1),
         Fixed(fewRatio, 2) + "x", "<= 1.3x"},
        {"Start-up, 10,000 files (ms)", Fixed(manyStart, 1), Fixed(floorStart, 1),
         Signed(manyAbove, 1) + " ms", "<= floor + 150 ms"},
        {"Start-up, 20 files, against the same-job floor (ms)", Fixed(fewStart, 1),
         Fixed(starts.sameFew.Median(), 1), Fixed(sameFewRatio, 2) + "x", "<= 1.05x"},
        {"Start-up, 10,000 files, against the same-job floor (ms)", Fixed(manyStart, 1),
         Fixed(starts.sameMany.Median(), 1), Fixed(sameManyRatio, 2) + "x", "<= 1.05x"},
        {"List fill, 10,000 names, in process (ms)", Fixed(fill, 1), Fixed(bareFill, 1),
         Fixed(fillRatio, 2) + "x", "<= 1.2x"},
        {"Reload cycle, 10,000 files, in process (ms)", Fixed(reload, 1),
         Fixed(manyStart, 1) + " (Vantrel's start-up)", Fixed(reload / manyStart, 2) + "x",
         "<= 0.5x"},
        {"Peak working set, 10,000 files (MB)", Fixed(starts.manyPeak.Median(), 1),
         Fixed(starts.floorPeak.Median(), 1),
         Fixed(starts.manyPeak.Median() / starts.floorPeak.Median(), 2) + "x", "-"},
        {"Peak working set, 10,000 files, against the same-job floor (MB)",
         Fixed(starts.manyPeak.Median(), 1), Fixed(starts.sameManyPeak.Median(), 1),
         Fixed(starts.manyPeak.Median() / starts.sameManyPeak.Median(), 2) + "x", "-"},
        {"Size of the exe (KB)", Fixed(FileKilobytes(testing::VantrelExe()), 0),
         Fixed(FileKilobytes(testing::ExeNamedBy(L"VANTREL_FLOOR_EXE")), 0), "-", "-"},
    });
    std::printf("\n");
    PrintSpread({{"floor start-up (ms)", &starts.floor},
                 {"start-up, 20 files (ms)", &starts.few},
                 {"start-up, 10,000 files (ms)", &starts.many},
                 {"same-job floor start-up, 20 files (ms)", &starts.sameFew},
                 {"same-job floor start-up, 10,000 files (ms)", &starts.sameMany},
                 {"listing alone, ListFiles (ms)", &inProcess.listing},
                 {"list fill (ms)", &inProcess.fill},
                 {"bare fill (ms)", &inProcess.bareFill},
                 {"reload cycle (ms)", &inProcess.reload},
                 {"sort, 10,000 names already in order (ms)", &inProcess.sortInOrder},
                 {"peak working set, floor (MB)", &starts.floorPeak},
                 {"peak working set, 10,000 files (MB)", &starts.manyPeak},
                 {"peak working set, same-job floor, 10,000 files (MB)", &starts.sameManyPeak}});
    return 0;
}

}  // namespace
}  // namespace vantrel::bench

int wmain(int argc, wchar_t* argv[]) {
    const int runs = argc > 1 ? _wtoi(argv[1]) : 7;
    if (runs < 1) {
        std::fprintf(stderr, "usage: vantrel_window_bench [runs]\n");
        return 2;
    }
    try {
        return vantrel::bench::Run(runs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel_window_bench: %s\n", e.what());
        return 1;
    }
}
