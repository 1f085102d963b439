#include <gtest/gtest.h>

#include "package/PackageExtension.h"
#include "session/LanguageChoice.h"
#include "ui/MessageLayout.h"

namespace varnow {
namespace {

TEST(PackageExtension, AcceptsOneQvkFileInAnyCase) {
    struct Case {
        std::vector<std::string> names;
        bool mayDrop;
    };
    const Case cases[] = {
        {{"/home/a/board.qvk"}, true},
        {{"C:\\\\pkgs\\\\BOARD.QVK"}, true},
        {{"a.QvK"}, true},
        {{"/x/a.qvk"}, true},
        {{"folder.qvk"}, true},  // folders pass here and fail to open later
        {{"x.qvk.bak"}, false},
        {{"no_dot"}, false},
        {{"a.qvk", "b.qvk"}, false},
        {{}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MayDropPackages(c.names), c.mayDrop) << (c.names.empty() ? "" : c.names[0]);
    }
    EXPECT_EQ(DroppedPackage({"a.txt", "b.qvk", "c.qvk"}), "b.qvk");
    EXPECT_EQ(DroppedPackage({"a.txt"}), std::nullopt);
}

TEST(MessageLayout, SplitsLinesAsTheDialogShowsThem) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one\r\n\r\ntwo", {"one", "two"}},
        {"ends in LF\n", {"ends in LF", ""}},
        {"single", {"single"}},
        {"\n\nlast", {"last"}},
        {"", {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitMessageLines(c.text), c.lines) << c.text;
    }
}

TEST(MessageLayout, CarriesFiveCharactersAtATimeFromAnOverWideLine) {
    const auto width = [](const std::string& line) { return static_cast<int>(line.size()) * 10; };
    // 45 characters at 10 pixels: 450 > 400, so 5 move to a new line, then 40 fit.
    const std::string line = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRS";
    EXPECT_EQ(WrapMessageLines({line}, width),
              (std::vector<std::string>{line.substr(0, 40), line.substr(40)}));
    const std::string longer(95, 'x');
    const auto wrapped = WrapMessageLines({longer}, width);
    EXPECT_EQ(wrapped, (std::vector<std::string>{std::string(40, 'x'), std::string(40, 'x'),
                                                 std::string(15, 'x')}));
    // Characters, not bytes: a Korean syllable is carried whole; a piece of five characters
    // that is still too wide stays as it is.
    const std::string korean =
        "\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80\xea\xb0\x80";
    const auto byCharacters = [](const std::string& l) {
        return static_cast<int>(l.size() / 3) * 90;
    };
    EXPECT_EQ(WrapMessageLines({korean}, byCharacters),
              (std::vector<std::string>{korean.substr(0, 3), korean.substr(3)}));
}

TEST(MessageLayout, SizesTheWindowFromItsText) {
    struct Case {
        int textWidth, lineHeight, lines, width, height;
    };
    const Case cases[] = {
        {80, 14, 1, 200, 70 + 59},   // narrow text: the minimum width
        {300, 14, 1, 410, 70 + 59},  // 1 x (14 + 8) + 48 = 70
        {300, 14, 2, 410, 92 + 59},  // an empty last line adds h + 8
    };
    for (const auto& c : cases) {
        const MessageBoxSize size = MessageDialogSize(c.textWidth, c.lineHeight, c.lines);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
    }
}

TEST(MessageLayout, ChoosesButtonsAndIconsByStyle) {
    using R = MessageResult;
    const auto results = [](unsigned style) {
        std::vector<R> list;
        for (const auto& button : MessageButtons(style)) {
            list.push_back(button.result);
        }
        return list;
    };
    EXPECT_EQ(results(48), std::vector<R>{R::Ok});
    EXPECT_EQ(results(36), (std::vector<R>{R::Yes, R::No}));
    EXPECT_EQ(results(1), (std::vector<R>{R::Ok, R::Cancel}));
    EXPECT_EQ(results(2), (std::vector<R>{R::Abort, R::Retry, R::Ignore}));
    EXPECT_EQ(results(3), (std::vector<R>{R::Yes, R::No, R::Cancel}));
    EXPECT_EQ(results(5), (std::vector<R>{R::Retry, R::Cancel}));
    EXPECT_EQ(results(6), (std::vector<R>{R::Cancel, R::TryAgain, R::Continue}));
    EXPECT_EQ(results(9), std::vector<R>{R::Ok});
    EXPECT_EQ(MessageButtons(36)[0].captionId, 116) << "YES left of NO";
    EXPECT_EQ(MessageIcon(16), 16);
    EXPECT_EQ(MessageIcon(36), 32);
    EXPECT_EQ(MessageIcon(48), 48);
    EXPECT_EQ(MessageIcon(64), 64);
    EXPECT_EQ(MessageIcon(0x70), 48);
    EXPECT_EQ(MessageIcon(1), 0);
}

TEST(LanguageChoice, StartsInTheStoredOrTheSystemLanguage) {
    struct Case {
        std::optional<int> stored;
        int system;
        int language;
        bool store;
    };
    const Case cases[] = {
        {std::nullopt, 1042, 1042, true},  // first run on a Korean system
        {std::nullopt, 1031, 1033, true},  // German has no texts: English
        {0, 1042, 1042, true},
        {1042, 1033, 1042, false},
        {1033, 1042, 1033, false},
        {1036, 1033, 1033, true},
    };
    for (const auto& c : cases) {
        const LanguageChoice choice = ChooseStartupLanguage(c.stored, c.system);
        EXPECT_EQ(choice.language, c.language);
        EXPECT_EQ(choice.store, c.store);
    }
}

}  // namespace
}  // namespace varnow
