#pragma once

#include "engine/core/value.h"

#include <cstdint>
#include <optional>

// Token identifiers of BIFF8 formulas. Operand tokens come in three classes: the base value (0x20 to
// 0x3F) is the reference class, +0x20 the value class, +0x40 the array class.
namespace engine::xls::ptg {

constexpr uint8_t Exp = 0x01;
constexpr uint8_t Add = 0x03;
constexpr uint8_t Sub = 0x04;
constexpr uint8_t Mul = 0x05;
constexpr uint8_t Div = 0x06;
constexpr uint8_t Power = 0x07;
constexpr uint8_t Concat = 0x08;
constexpr uint8_t Lt = 0x09;
constexpr uint8_t Le = 0x0A;
constexpr uint8_t Eq = 0x0B;
constexpr uint8_t Ge = 0x0C;
constexpr uint8_t Gt = 0x0D;
constexpr uint8_t Ne = 0x0E;
constexpr uint8_t Isect = 0x0F;
constexpr uint8_t Union = 0x10;
constexpr uint8_t Range = 0x11;
constexpr uint8_t Uplus = 0x12;
constexpr uint8_t Uminus = 0x13;
constexpr uint8_t Percent = 0x14;
constexpr uint8_t Paren = 0x15;
constexpr uint8_t MissArg = 0x16;
constexpr uint8_t Str = 0x17;
constexpr uint8_t Label = 0x18; // a "labels in formulas" token; its kind in the next byte
constexpr uint8_t Attr = 0x19;
constexpr uint8_t Err = 0x1C;
constexpr uint8_t Bool = 0x1D;
constexpr uint8_t Int = 0x1E;
constexpr uint8_t Num = 0x1F;

// Reference-class identifiers of the operand tokens.
constexpr uint8_t Array = 0x20;
constexpr uint8_t Func = 0x21;
constexpr uint8_t FuncVar = 0x22;
constexpr uint8_t Name = 0x23;
constexpr uint8_t Ref = 0x24;
constexpr uint8_t Area = 0x25;
constexpr uint8_t MemArea = 0x26;
constexpr uint8_t MemErr = 0x27;
constexpr uint8_t MemNoMem = 0x28;
constexpr uint8_t MemFunc = 0x29;
constexpr uint8_t RefErr = 0x2A;
constexpr uint8_t AreaErr = 0x2B;
constexpr uint8_t RefN = 0x2C;
constexpr uint8_t AreaN = 0x2D;
constexpr uint8_t MemAreaN = 0x2E;
constexpr uint8_t MemNoMemN = 0x2F;
constexpr uint8_t NameX = 0x39;
constexpr uint8_t Ref3d = 0x3A;
constexpr uint8_t Area3d = 0x3B;
constexpr uint8_t RefErr3d = 0x3C;
constexpr uint8_t AreaErr3d = 0x3D;

// tAttr option bits.
constexpr uint8_t AttrVolatile = 0x01;
constexpr uint8_t AttrIf = 0x02;
constexpr uint8_t AttrChoose = 0x04;
constexpr uint8_t AttrSkip = 0x08;
constexpr uint8_t AttrSum = 0x10;
constexpr uint8_t AttrSpace = 0x40;

// Function index of a call to an add-in or unknown function, whose name precedes the arguments.
constexpr uint16_t ExternalFunction = 255;

// Error values as files store them (cells and tokens alike).
uint8_t errorCode(ErrorCode e);
std::optional<ErrorCode> errorFromCode(uint8_t code);

} // namespace engine::xls::ptg
