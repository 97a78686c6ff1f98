#include "core/app/app_rules.h"

#include <gtest/gtest.h>

namespace {

struct TitleCase {
    std::u16string_view path;
    std::u16string_view title;
};

class ApplicationTitle : public testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitle, FileNameUpToFirstDotWithTailInLowerCase) {
    EXPECT_EQ(app::ApplicationTitleFromPath(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ApplicationTitle,
    testing::Values(TitleCase{u"C:\\Program Files\\phasebox\\phasebox.exe", u"phasebox"},
                    TitleCase{u"D:\\tools\\PHASEBOX.TEST.EXE", u"Phasebox"},
                    TitleCase{u"Z:/build/win/phasebox.exe", u"phasebox"},
                    TitleCase{u"C:\\dir.with.dots\\MyTool", u"Mytool"},
                    TitleCase{u"\\\\server\\share\\ГЕНЕРАТОР.EXE", u"Генератор"},
                    TitleCase{u"C:\\x\\.hidden", u""}));

struct FullStopCase {
    std::u16string_view message;
    std::u16string_view shown;
};

class ErrorText : public testing::TestWithParam<FullStopCase> {};

TEST_P(ErrorText, FullStopOnlyAfterCharactersAboveDot) {
    EXPECT_EQ(app::ErrorBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorText,
    testing::Values(FullStopCase{u"Not enough timers available", u"Not enough timers available."},
                    FullStopCase{u"Stopped!", u"Stopped!"}, FullStopCase{u"Done.", u"Done."},
                    FullStopCase{u"Why?", u"Why?."}, FullStopCase{u"code 42", u"code 42."},
                    FullStopCase{u"(inner)", u"(inner)"}, FullStopCase{u"trailing ", u"trailing "},
                    FullStopCase{u"a/b", u"a/b."}, FullStopCase{u"", u""},
                    FullStopCase{u"ошибка", u"ошибка."}));

}  // namespace
