#pragma once

#include "varnel/app/maindlg.h"

#include <cstddef>
#include <iterator>
#include <optional>

// The toolbar "Kestrova": one row per command, in the order of the buttons on the bar. The row drives
// everything about its button: the start-up creates it with its caption, keeps it in its member and
// connects its sink; the sink map routes its Click to the handler; the close-down disconnects the
// sink; a failure of the handler is reported under the error caption.
struct ToolbarCommand {
    UINT sinkId; // one of CMainDlg::ButtonSinks
    const char16_t* caption;
    void (CMainDlg::*handler)(IDispatch* Ctrl, VARIANT_BOOL* CancelDefault);
    Office::_CommandBarButtonPtr CMainDlg::*button;
    const char16_t* errorCaption;
};

inline constexpr ToolbarCommand toolbarCommands[] = {
    {3, u"增加征订单位", &CMainDlg::OnAddUnit, &CMainDlg::_epAddUnitButton, u"增加征订单位"},
    {5, u"添加资料名称", &CMainDlg::OnAddMaterialName, &CMainDlg::_epAddMaterialButton, u"添加资料名称"},
    {4, u"查找指定资料", &CMainDlg::OnFindMaterial, &CMainDlg::_epFindButton, u"查找指定资料"},
    {6, u"输出征订情况", &CMainDlg::OnOutputStatus, &CMainDlg::_epOutputButton, u"输出征订情况"},
};

// Where in the table the command whose button has sink `sinkId` stands; nothing for the application's
// sinks.
constexpr std::optional<std::size_t> toolbarCommandIndex(UINT sinkId) {
    for (std::size_t i = 0; i < std::size(toolbarCommands); ++i)
        if (toolbarCommands[i].sinkId == sinkId)
            return i;
    return std::nullopt;
}

// The command whose button has sink `sinkId`; null for the application's sinks.
inline const ToolbarCommand* toolbarCommand(UINT sinkId) {
    const auto i = toolbarCommandIndex(sinkId);
    return i ? &toolbarCommands[*i] : nullptr;
}

// Every button sink belongs to exactly one command.
static_assert(std::size(toolbarCommands) == std::size(CMainDlg::ButtonSinks::sinkIds));
static_assert([] {
    for (UINT id : CMainDlg::ButtonSinks::sinkIds)
        if (!toolbarCommandIndex(id))
            return false;
    return true;
}());
