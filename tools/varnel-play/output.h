#pragma once

#include <map>
#include <string>

// Standard output of a session: JSON lines in the order things happen. An instance that has become
// visible is announced before the next line, so that it appears where it happened.
namespace play {

class Output {
public:
    void line(const std::string& json);
    // Announces the instances that have become visible since the last look.
    void checkVisibility();

private:
    void write(const std::string& json);
    std::map<int, bool> visible_;
};

} // namespace play
