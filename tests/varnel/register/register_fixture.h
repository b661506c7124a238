#pragma once

#include "engine/automation/application.h"
#include "platform/com/com.h"
#include "platform/ui/headless.h"
#include "varnel/app/maindlg.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The program's main dialog linked to a spreadsheet instance of the engine, as start-up leaves it: a
// register workbook with the titles in row 1 and a scratch sheet "Sheet2", summary rows above their
// details, and the sheet-change sink connected, so that the commands' own writes come back nested. A
// scripted user answers the input box and the dialogs and sees every message box.
class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The user clicks a toolbar button; answers are queued first.
    void addUnit(const std::u16string& name);
    void addMaterialName(const std::u16string& name);
    void findMaterial(const std::u16string& choice);
    void outputStatus(const std::u16string& choice);
    // The user enters a value into one cell of the register (or several cells at once).
    void type(const std::u16string& ref, const Variant& value);

    Excel::RangePtr cell(const std::u16string& ref) const;
    Variant value(const std::u16string& ref) const { return cell(ref)->GetValue2(); }
    std::u16string text(const std::u16string& ref) const;
    std::u16string formula(const std::u16string& ref) const;
    // The list text of the cell's validation; empty without one.
    std::u16string validation(const std::u16string& ref) const;
    long level(long row) const;
    bool hidden(long row) const;
    engine::Sheet& registerSheet() const;
    long fill(const std::u16string& ref) const;
    long fontColour(const std::u16string& ref) const;

    // Message boxes shown, as "caption|text".
    std::vector<std::u16string> messages() const;
    // The combo box items of the last dialog.
    std::vector<std::u16string> lastDialogItems() const;
    // Instances of the spreadsheet besides the program's own.
    std::vector<Excel::_ApplicationPtr> otherInstances() const;

    ui::HeadlessBackend user;
    CMainDlg dlg;
    Excel::_ApplicationPtr engineApp;
    std::filesystem::path folder;
};

// A row of the register as its values in columns A to G, read as text ("" for empty cells).
std::vector<std::u16string> rowTexts(Excel::_Worksheet* sheet, long row);
