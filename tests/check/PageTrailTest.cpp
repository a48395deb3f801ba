#include "PageTrail.h"

#include <gtest/gtest.h>

namespace {

using Answer = PageTrail::Answer;

const std::string Old = "http://alt.example/a.htm";
const std::string New = "http://neu.example/a.htm";
const std::string RedirectPage = "<meta http-equiv=\"refresh\" content=\"0; url=" + New + "\">";

Answer redirect(const std::string& to, long status = 301)
{
    return {status, to, {}, {}};
}

Answer page(const std::string& body = "<p>neu</p>")
{
    return {200, {}, body, {}};
}

struct TrailCase
{
    const char* name;
    std::vector<Answer> answers;
    CheckClass expected;
    std::string finalUrl;
    std::string status;
};

const TrailCase TrailCases[] = {
    {"ServerRedirect", {redirect(New), page()}, CheckClass::Ok, New, "200"},
    {"EveryRedirectStatus",
     {redirect("http://alt.example/b", 302), redirect("http://alt.example/c", 303),
      redirect("http://alt.example/d", 307), redirect(New, 308), page()},
     CheckClass::Ok,
     New,
     "200"},
    {"PageFallback", {page(RedirectPage), page()}, CheckClass::NurSeite, New, "200"},
    {"CanonicalOnly",
     {page("<link rel=canonical href=" + New + ">"), page()},
     CheckClass::NurSeite,
     New,
     "200"},
    {"ElsewhereByServer",
     {redirect("http://neu.example/b.htm"), page()},
     CheckClass::FalschesZiel,
     "http://neu.example/b.htm",
     "200"},
    {"PageWithoutTarget", {page()}, CheckClass::FalschesZiel, Old, "200"},
    {"PageNamingItself",
     {page("<link rel=canonical href=/a.htm>")},
     CheckClass::FalschesZiel,
     Old,
     "200"},
    {"TargetMissing", {redirect(New), {404, {}, {}, {}}}, CheckClass::ZielFehlt, New, "404"},
    {"TargetFails", {page(RedirectPage), {503, {}, {}, {}}}, CheckClass::ZielFehlt, New, "503"},
    {"OldPageForbidden", {{403, {}, {}, {}}}, CheckClass::ZielFehlt, Old, "403"},
    {"NotUploaded", {{404, {}, {}, {}}}, CheckClass::AltFehlt, Old, "404"},
    {"Loop",
     {redirect("http://alt.example/b.htm"), redirect(Old)},
     CheckClass::Schleife,
     "http://alt.example/b.htm",
     "301"},
    {"NoConnection",
     {{0, {}, {}, "keine Verbindung"}},
     CheckClass::Fehler,
     Old,
     "keine Verbindung"},
    {"TimeoutOnTheWay",
     {redirect(New), {0, {}, {}, "Zeitüberschreitung"}},
     CheckClass::Fehler,
     New,
     "Zeitüberschreitung"},
    {"RedirectWithoutLocation", {{302, {}, {}, {}}}, CheckClass::FalschesZiel, Old, "302"},
};

class Trail : public testing::TestWithParam<TrailCase>
{
};

TEST_P(Trail, EndsInItsClass)
{
    PageTrail trail(Old, New);
    for (const Answer& answer : GetParam().answers) {
        ASSERT_FALSE(trail.finished()) << "finished before " << answer.Status;
        trail.take(answer);
    }
    ASSERT_TRUE(trail.finished());
    EXPECT_EQ(trail.result().Class, GetParam().expected);
    EXPECT_EQ(trail.result().OldUrl, Old);
    EXPECT_EQ(trail.result().FinalUrl, GetParam().finalUrl);
    EXPECT_EQ(trail.result().statusText(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Answers, Trail, testing::ValuesIn(TrailCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageTrail, MoreThanTenHopsCountAsALoop)
{
    for (const int hops : {10, 11}) {
        PageTrail trail(Old, New);
        for (int i = 1; i < hops; ++i)
            trail.take(redirect("http://alt.example/" + std::to_string(i)));
        trail.take(redirect(New));
        if (hops == 10)
            trail.take(page());
        ASSERT_TRUE(trail.finished()) << hops;
        EXPECT_EQ(trail.result().Class, hops == 10 ? CheckClass::Ok : CheckClass::Schleife) << hops;
    }
}

} // namespace
