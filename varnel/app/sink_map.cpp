#include "varnel/app/toolbar.h"

#include <array>
#include <utility>

namespace {

// The Click row of the button sink at position `i` of CMainDlg::ButtonSinks. The buttons share the
// dispatch id and the interface: the sink id tells them apart.
template <std::size_t i> constexpr _ATL_EVENT_ENTRY<CMainDlg> clickRow() {
    constexpr const ToolbarCommand& command =
        toolbarCommands[*toolbarCommandIndex(CMainDlg::ButtonSinks::sinkIds[i])];
    return sinkEntry<CMainDlg, command.sinkId, &DIID__CommandBarButtonEvents,
                     Office::CommandBarButtonEvents::Click, command.handler>(&ClickInfo);
}

template <std::size_t... i> constexpr auto sinkMap(std::index_sequence<i...>) {
    return std::array{
        sinkEntry<CMainDlg, 1, &DIID_AppEvents, Excel::AppEvents::WorkbookBeforeClose,
                  &CMainDlg::OnWorkbookBeforeClose>(&WorkbookBeforeCloseInfo),
        sinkEntry<CMainDlg, 2, &DIID_AppEvents, Excel::AppEvents::SheetChange, &CMainDlg::OnSheetChange>(
            &SheetChangeInfo),
        clickRow<i>()...,
        _ATL_EVENT_ENTRY<CMainDlg>{0, nullptr, nullptr, 0, nullptr, nullptr},
    };
}

} // namespace

const _ATL_EVENT_ENTRY<CMainDlg>* CMainDlg::_GetSinkMap() {
    static constexpr auto map = sinkMap(std::make_index_sequence<std::size(ButtonSinks::sinkIds)>());
    return map.data();
}
