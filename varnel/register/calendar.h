#pragma once

#include <functional>

// The current year, as the local clock tells it. The year lists and the query dialog read it each
// time they are made; a session that must not depend on the date replaces the source.
namespace calendar {

int currentYear();

// Replaces the source of the current year; an empty function restores the local clock.
void setYearSource(std::function<int()> source);

} // namespace calendar
