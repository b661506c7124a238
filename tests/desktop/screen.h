#pragma once

#include "desktop/spreadsheet_window.h"

#include <QString>

class QWidget;

// What a test sees and does on the screen, as a user would: windows by their titles, buttons by their
// captions, cells by their addresses, text typed through the keyboard or the input method.
namespace screen {

desktop::SpreadsheetWindow* spreadsheet(const QString& title);
int spreadsheetCount();
QWidget* modal();    // the modal dialog or message box in front, or null
QString modalText(); // the title of the modal window in front, and the text or prompt it shows

// Clicks a button of a window's toolbars by its caption (false when there is none or it is disabled).
bool clickTool(QWidget* window, const QString& caption);
// Clicks the button of that caption in a modal window.
void clickButton(QWidget* window, const QString& caption);
// Types into the window's focused or first text field: Chinese text through the input method.
void typeText(QWidget* field, const QString& text);
void enterText(QWidget* window, const QString& text);

// Selects a cell and types into it as a user does, ending with Enter.
void typeIntoCell(desktop::SpreadsheetWindow& w, const QString& address, const QString& text);
void selectCell(desktop::SpreadsheetWindow& w, const QString& address);
QString cellText(desktop::SpreadsheetWindow& w, const QString& address);

} // namespace screen
