// The copies of files in the analysis, searched for when first shown, in
// the results page's list, with the buttons that choose the copies to remove.
#pragma once

#include "reports/DuplicateSearch.h"
#include "reports/ReportsPages.h"

#include <optional>
#include <string>
#include <vector>

class ReportsResultsPage::DuplicatesView : public ResultsView {
public:
    explicit DuplicatesView(ReportsResultsPage& page);

    // A new analysis: the next showing searches it.
    void Forget() noexcept { m_result.reset(); }
    // The buttons at the right of the line above the list, its text left of them.
    void Layout(const RECT& list) override;

    std::string Caption() const override { return "Duplicate files"; }
    void Show(const std::string& selected) override;
    void Hide() override;
    int SelectedCount() const override { return m_page.ListPage::SelectedCount(); }
    std::vector<std::string> SelectedPaths() const override;
    void OpenSelected() override { m_page.ListPage::OpenSelected(); }
    // Asks once more before the last copy of any file goes.
    void RemoveSelected(bool permanent) override;
    void Print() override { m_page.ListPage::PrintSelected(); }
    void Refresh() override;

private:
    // Where a row's file stands in the result.
    struct RowFile {
        size_t group;
        size_t file;
    };

    void Search();
    size_t AddRows(const std::string& selected);
    void ShowButtons(bool shown);
    std::string Summary() const;
    // The files of a group not removed since.
    std::vector<size_t> Remaining(size_t group) const;
    const RowFile& At(size_t row) const;
    std::string PathOf(const RowFile& file) const;
    // Selects every copy of each group but the one kept: the oldest, of
    // those in the folder where it holds any.
    void SelectCopies(const std::string& folder);
    size_t Keeper(size_t group, const std::string& folder) const;
    bool ConfirmEveryCopy(const std::vector<size_t>& rows) const;

    ReportsResultsPage& m_page;
    std::optional<DuplicateResult> m_result;
    std::vector<RowFile> m_rows;  // in order of adding
    bool m_shown = false;
};
