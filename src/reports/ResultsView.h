// One way the Reports results page shows an analysis: a report's list, the
// space map, ... The page shows one view at a time, chosen in its Report
// list, and reaches it only through this.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ResultsView {
public:
    virtual ~ResultsView() = default;

    // Its entry in the Report list.
    virtual std::string Caption() const = 0;
    // What it shows now, for printing and export: its caption without the patterns.
    virtual std::string Title() const
    {
        std::string caption = Caption();
        return caption.substr(0, caption.find(" ("));
    }
    // selected: the path the view shown before had selected (empty: none),
    // so that this one selects it too where it holds it.
    virtual void Show(const std::string& selected) = 0;
    virtual void Hide() = 0;

    virtual int SelectedCount() const = 0;
    virtual std::vector<std::string> SelectedPaths() const = 0;
    virtual void OpenSelected() = 0;
    // Recycles or deletes what is selected; the page hears of what went.
    virtual void RemoveSelected(bool permanent) = 0;
    virtual void Print() = 0;
    // After paths went, here or in another view: what went leaves this one.
    virtual void Refresh() = 0;

    // A view with windows of its own lays them out in the list's place.
    virtual void Layout(const RECT&) {}
    // What File > Export writes of a view that shows rows outside the list.
    virtual bool Exportable() const { return false; }
    virtual std::string Csv() const { return {}; }
    // A notification of the page's list, offered to the view first; true: handled.
    virtual bool OnListNotify(const NMHDR&, LRESULT&) { return false; }
};
