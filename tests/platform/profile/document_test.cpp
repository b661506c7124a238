#include "platform/profile/document.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// Random files made of the pieces that profile parsing and line splitting care about, in every encoding
// family, damaged ones included.
std::string randomFile(std::mt19937& random) {
    using namespace std::string_view_literals;
    static const std::string_view pieces[] = {"["sv,
                                              "]"sv,
                                              "="sv,
                                              ";"sv,
                                              " "sv,
                                              "\t"sv,
                                              "\r"sv,
                                              "\n"sv,
                                              "\r\n"sv,
                                              "\""sv,
                                              "k"sv,
                                              "K"sv,
                                              "s"sv,
                                              "\xD5\xF7"sv,
                                              "\xB6"sv,
                                              "\xFF"sv,
                                              "\0"sv,
                                              "\xE5\xBE\x81"sv,
                                              "\x95\x32\x82\x36"sv};
    static const char* const starts[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    std::string bytes = starts[random() % std::size(starts)];
    const std::size_t count = random() % 40;
    for (std::size_t i = 0; i < count; ++i)
        bytes += pieces[random() % std::size(pieces)];
    return bytes;
}

TEST(ProfileDocument, ArbitraryFilesSurviveUnchangedAndTakeAnEditUnlessUndecodable) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = randomFile(random);
        if (bytes.empty())
            continue;
        SCOPED_TRACE(::testing::PrintToString(bytes));
        profile::Document document(bytes);
        ASSERT_EQ(document.bytes(), bytes);

        // Text in an encoding that cannot be told is never mixed with another.
        if (document.encoding() == profile::Encoding::Undecodable) {
            EXPECT_FALSE(document.setValue(u"s", u"k", u"值"));
            EXPECT_EQ(document.bytes(), bytes);
            continue;
        }
        ASSERT_TRUE(document.setValue(u"s", u"k", u"值"));
        const auto edited = document.bytes();
        ASSERT_TRUE(edited);
        EXPECT_EQ(profile::Document(*edited).value(u"S", u"K"), u"值");
    }
}

} // namespace
