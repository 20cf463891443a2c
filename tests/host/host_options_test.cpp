// The host's command line.
#include "host/host_options.h"

#include <gtest/gtest.h>

namespace kv::host {
namespace {

TEST(HostOptions, PageWithOptionsInAnyOrder) {
    HostOptions options;
    std::wstring error;
    ASSERT_TRUE(ParseHostOptions({L"--timeout", L"30", L"Z:\\tmp\\page.html", L"--headless"}, options, error));
    EXPECT_EQ(options.page, L"Z:\\tmp\\page.html");
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(options.timeoutSeconds, 30u);

    ASSERT_TRUE(ParseHostOptions({L"page.html"}, options, error));
    EXPECT_FALSE(options.headless);
    EXPECT_EQ(options.timeoutSeconds, 0u);
    EXPECT_TRUE(options.answers.empty());
}

TEST(HostOptions, AnswersKeepTheirOrderAmongOtherOptions) {
    HostOptions options;
    std::wstring error;
    ASSERT_TRUE(ParseHostOptions({L"--answer", L"yes", L"page.html", L"--headless", L"--answer",
                                  L"C:\\다운로드 폴더", L"--timeout", L"5", L"--answer", L"--headless"},
                                 options, error));
    // A value that looks like an option is still the answer it follows.
    EXPECT_EQ(options.answers, (std::vector<std::wstring>{L"yes", L"C:\\다운로드 폴더", L"--headless"}));
}

TEST(HostOptions, PageAddressIsTheUrlGivenOrTheFileAddress) {
    HostOptions options;
    std::wstring error;
    ASSERT_TRUE(ParseHostOptions({L"page.html", L"--url", L"https://example.com/app/"}, options, error));
    EXPECT_EQ(options.url, L"https://example.com/app/");
    ASSERT_TRUE(ParseHostOptions({L"page.html"}, options, error));
    EXPECT_TRUE(options.url.empty());
    EXPECT_EQ(FileUrlOfPath(L"Z:\\tmp\\my pages\\#1%.html"), L"file:///Z:/tmp/my%20pages/%231%25.html");
}

TEST(HostOptions, RejectsWhatMakesNoSense) {
    HostOptions options;
    std::wstring error;
    for (const auto& args : std::vector<std::vector<std::wstring>>{
             {},
             {L"--headless"},
             {L"a.html", L"b.html"},
             {L"a.html", L"--timeout"},
             {L"a.html", L"--timeout", L"0"},
             {L"a.html", L"--timeout", L"ten"},
             {L"a.html", L"--timeout", L"5s"},
             {L"a.html", L"--fast"},
             {L"a.html", L"--headless", L"--answer"},
             {L"a.html", L"--answer", L"yes"},
             {L"a.html", L"--url"},
             // An empty argument built from an empty literal trips a false array-bounds
             // warning of GCC 12 on i686; std::wstring() is the same empty text.
             {L"a.html", L"--url", std::wstring()}}) {
        error.clear();
        EXPECT_FALSE(ParseHostOptions(args, options, error)) << args.size();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace kv::host
