// Times the folder analysis against a bare walk of the same tree: with a sink
// that does nothing, with and without the folder totals, and with the Working
// dialog; reports the process's peak working set. Given a folder as its
// argument, times that folder's tree instead of its own.
#include "BenchTree.h"
#include "reports/FolderAnalysis.h"
#include "working/WorkingDlg.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const bool ownTree = argc < 2;
    const std::string tree = ownTree ? bench::TempPath("corvane-bench-tree") : argv[1];
    if (ownTree && !bench::ReuseOrBuild(tree, "tree", bench::kTreeFiles, bench::BuildFileTree))
        return 1;

    int walked = 0, analyzedQuietly = 0, analyzedWithDialog = 0, reportsFilled = 0;
    std::vector<double> best;
    {
        bench::StandInWindow window;
        auto bareWalk = [&] { walked = bench::CountFiles(tree); };
        auto quietAnalysis = [&] {
            FolderAnalysis analysis;
            bench::NullSink sink;
            analysis.Start(tree, sink);
            analyzedQuietly = analysis.FilesAnalyzed();
            reportsFilled = 0;
            for (int i = 0; i < kReportCount; ++i)
                reportsFilled += analysis.Report(i).empty() ? 0 : 1;
        };
        auto withoutTotals = [&] {
            FolderAnalysis analysis(false);
            bench::NullSink sink;
            analysis.Start(tree, sink);
        };
        auto shownAnalysis = [&] {
            FolderAnalysis analysis;
            WorkingSession session(window.Page(), "Initializing...");
            analysis.Start(tree, session.Sink());
            analyzedWithDialog = analysis.FilesAnalyzed();
        };

        // One walk first brings the tree into the caches.
        bareWalk();
        best = bench::BestTimes({bareWalk, quietAnalysis, withoutTotals, shownAnalysis});
    }
    const double bare = best[0], quiet = best[1], noTotals = best[2], shown = best[3];

    std::printf("bare walk: %.3f s\n", bare);
    std::printf("analysis (no-op sink): %.3f s\n", quiet);
    std::printf("analysis without folder totals (no-op sink): %.3f s\n", noTotals);
    std::printf("analysis (Working dialog): %.3f s\n", shown);
    std::printf("analysis (no-op sink) / bare walk: %.2f\n", quiet / bare);
    std::printf("analysis without folder totals (no-op sink) / bare walk: %.2f\n", noTotals / bare);
    std::printf("analysis (Working dialog) / bare walk: %.2f\n", shown / bare);
    std::printf("files: walk %d, analysis %d (no-op sink), %d (Working dialog)\n", walked, analyzedQuietly,
                analyzedWithDialog);
    std::printf("reports with entries: %d of %d\n", reportsFilled, kReportCount);
    bench::PrintPeakWorkingSet();
    std::printf("target: analysis with folder totals and Working dialog / bare walk <= 1.25\n");
    std::printf("target: peak working set < 64 MB\n");
    bool agree = walked == analyzedQuietly && walked == analyzedWithDialog;
    if (!agree)
        std::printf("the file counts disagree\n");
    return agree ? 0 : 1;
}
