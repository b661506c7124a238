#pragma once

#include "platform/ui/headless.h"
#include "platform/ui/module.h"
#include "platform/ui/trace.h"
#include "varnel/res/resources.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// Each test gets a fresh scripted user, the program's resources and a record of the trace lines.
class UiTest : public ::testing::Test {
protected:
    ui::HeadlessBackend user;
    std::vector<std::string> traces;

    void SetUp() override {
        ui::setBackend(&user);
        ui::setResourceInstance(res::instance());
        ui::setTraceHandler([this](const std::string& line) { traces.push_back(line); });
    }
    void TearDown() override {
        ui::setTraceHandler({});
        ui::setResourceInstance(nullptr);
        ui::setBackend(nullptr);
    }

    bool traced(const std::string& part) const {
        for (const std::string& line : traces)
            if (line.find(part) != std::string::npos)
                return true;
        return false;
    }
};
