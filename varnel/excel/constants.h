#pragma once

// The spreadsheet's enumerations, with its names and numeric values. Arguments that the spreadsheet
// takes as a variant carry these as plain numbers.
namespace Excel {

enum Constants {
    xlCenter = -4108,
    xlGeneral = 1,
    xlLeft = -4131,
    xlRight = -4152,
};

enum XlDirection {
    xlDown = -4121,
    xlToLeft = -4159,
    xlToRight = -4161,
    xlUp = -4162,
};

enum XlInsertShiftDirection {
    xlShiftDown = -4121,
    xlShiftToRight = -4161,
};

enum XlDeleteShiftDirection {
    xlShiftToLeft = -4159,
    xlShiftUp = -4162,
};

enum XlInsertFormatOrigin {
    xlFormatFromLeftOrAbove = 0,
    xlFormatFromRightOrBelow = 1,
};

enum XlFindLookIn {
    xlFormulas = -4123,
    xlComments = -4144,
    xlValues = -4163,
};

enum XlLookAt {
    xlWhole = 1,
    xlPart = 2,
};

enum XlSearchOrder {
    xlByRows = 1,
    xlByColumns = 2,
};

enum XlSearchDirection {
    xlNext = 1,
    xlPrevious = 2,
};

enum XlFilterAction {
    xlFilterInPlace = 1,
    xlFilterCopy = 2,
};

enum XlLineStyle {
    xlContinuous = 1,
    xlDash = -4115,
    xlDashDot = 4,
    xlDashDotDot = 5,
    xlDot = -4118,
    xlDouble = -4119,
    xlSlantDashDot = 13,
    xlLineStyleNone = -4142,
};

enum XlBorderWeight {
    xlHairline = 1,
    xlThin = 2,
    xlMedium = -4138,
    xlThick = 4,
};

enum XlHAlign {
    xlHAlignCenter = -4108,
    xlHAlignGeneral = 1,
    xlHAlignLeft = -4131,
    xlHAlignRight = -4152,
};

enum XlColorIndex {
    xlColorIndexAutomatic = -4105,
    xlColorIndexNone = -4142,
};

enum XlDVType {
    xlValidateInputOnly = 0,
    xlValidateWholeNumber = 1,
    xlValidateDecimal = 2,
    xlValidateList = 3,
    xlValidateDate = 4,
    xlValidateTime = 5,
    xlValidateTextLength = 6,
    xlValidateCustom = 7,
};

enum XlDVAlertStyle {
    xlValidAlertStop = 1,
    xlValidAlertWarning = 2,
    xlValidAlertInformation = 3,
};

enum XlFormatConditionOperator {
    xlBetween = 1,
    xlNotBetween = 2,
    xlEqual = 3,
    xlNotEqual = 4,
    xlGreater = 5,
    xlLess = 6,
    xlGreaterEqual = 7,
    xlLessEqual = 8,
};

enum XlReferenceStyle {
    xlA1 = 1,
    xlR1C1 = -4150,
};

enum XlSaveAsAccessMode {
    xlNoChange = 1,
    xlShared = 2,
    xlExclusive = 3,
};

enum XlFileFormat {
    xlWorkbookNormal = -4143,
    xlExcel8 = 56,
};

} // namespace Excel
