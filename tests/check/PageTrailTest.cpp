#include "PageTrail.h"

#include <gtest/gtest.h>

namespace {

using Answer = PageTrail::Answer;

const std::string Old = "http://alt.example/a.htm";
const std::string New = "http://neu.example/a.htm";
const std::string RedirectPage = "<meta http-equiv=\"refresh\" content=\"0; url=" + New + "\">";

Answer answer(long status)
{
    Answer answer;
    answer.Status = status;
    return answer;
}

Answer redirect(const std::string& to, long status = 301)
{
    Answer redirect = answer(status);
    redirect.Location = to;
    return redirect;
}

Answer page(const std::string& body = "<p>neu</p>", const std::string& type = "text/html")
{
    Answer page = answer(200);
    page.Body = body;
    page.ContentType = type;
    return page;
}

Answer failure(const std::string& reason)
{
    Answer failed;
    failed.Failure = reason;
    return failed;
}

Answer withRobotsTag(Answer answer, const std::string& tag)
{
    answer.RobotsTag = tag;
    return answer;
}

struct TrailCase
{
    const char* name;
    std::vector<Answer> answers;
    CheckClass expected;
    std::string finalUrl;
    std::string status;
    int hops = 1;
    std::string notes = {};
};

const TrailCase TrailCases[] = {
    {"ServerRedirect", {redirect(New), page()}, CheckClass::Ok, New, "200"},
    {"RelativeLocation",
     {redirect("/b/../c.htm"), redirect(New), page()},
     CheckClass::Ok,
     New,
     "200",
     2,
     "kette"},
    {"EveryRedirectStatus",
     {redirect("http://alt.example/b", 302), redirect("http://alt.example/c", 303),
      redirect("http://alt.example/d", 307), redirect(New, 308), page()},
     CheckClass::Ok,
     New,
     "200",
     4,
     "kette"},
    {"PageFallback", {page(RedirectPage), page()}, CheckClass::NurSeite, New, "200"},
    {"PageFallbackWithCharset",
     {page(RedirectPage, "Text/HTML; charset=utf-8"), page()},
     CheckClass::NurSeite,
     New,
     "200"},
    {"PageServedAsDownload",
     {page(RedirectPage, "application/octet-stream")},
     CheckClass::FalschesZiel,
     Old,
     "kommt als application/octet-stream, nicht als HTML",
     0},
    {"ChainThroughPage",
     {redirect("http://alt.example/b.htm"), page(RedirectPage), page()},
     CheckClass::NurSeite,
     New,
     "200",
     2,
     "kette"},
    {"TargetNoIndexByMeta",
     {redirect(New), page("<meta name=\"ROBOTS\" content=\"noindex, follow\"><p>neu")},
     CheckClass::Ok,
     New,
     "200",
     1,
     "noindex"},
    {"TargetNoIndexByHeader",
     {redirect(New), withRobotsTag(page(), "unavailable_after: 1 Jan 2030,googlebot: none")},
     CheckClass::Ok,
     New,
     "200",
     1,
     "noindex"},
    {"TargetNamesAnotherCanonical",
     {redirect(New), page("<link rel=canonical href=\"/b.htm\">")},
     CheckClass::Ok,
     New,
     "200",
     1,
     "canonical-anders"},
    {"TargetNamesItselfCanonical",
     {redirect(New), page("<link rel=canonical href=\"a.htm#top\">")},
     CheckClass::Ok,
     New,
     "200"},
    {"RedirectToScript",
     {redirect("jav\tascript:alert(1)")},
     CheckClass::FalschesZiel,
     "javascript:alert(1)",
     "301"},
    {"RedirectToScriptByPage",
     {page("<meta http-equiv=refresh content=\"0;url=javascript:alert(1)\">")},
     CheckClass::FalschesZiel,
     "javascript:alert(1)",
     "200"},
    {"RedirectToFile",
     {redirect(New), redirect("FILE:///etc/passwd", 302)},
     CheckClass::FalschesZiel,
     "FILE:///etc/passwd",
     "302",
     2},
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
    {"PageWithoutTarget", {page()}, CheckClass::FalschesZiel, Old, "200", 0},
    {"PageNamingItself",
     {page("<link rel=canonical href=/a.htm>")},
     CheckClass::FalschesZiel,
     Old,
     "200",
     0},
    {"TargetMissing", {redirect(New), answer(404)}, CheckClass::ZielFehlt, New, "404"},
    {"TargetFails", {page(RedirectPage), answer(503)}, CheckClass::ZielFehlt, New, "503"},
    {"OldPageForbidden", {answer(403)}, CheckClass::ZielFehlt, Old, "403", 0},
    {"NotUploaded", {answer(404)}, CheckClass::AltFehlt, Old, "404", 0},
    {"Loop",
     {redirect("http://alt.example/b.htm"), redirect(Old)},
     CheckClass::Schleife,
     "http://alt.example/b.htm",
     "301"},
    {"NoConnection", {failure("keine Verbindung")}, CheckClass::Fehler, Old, "keine Verbindung", 0},
    {"TimeoutOnTheWay",
     {redirect(New), failure("Zeitüberschreitung")},
     CheckClass::Fehler,
     New,
     "Zeitüberschreitung"},
    {"RedirectWithoutLocation", {answer(302)}, CheckClass::FalschesZiel, Old, "302", 0},
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
    EXPECT_EQ(trail.result().Hops, GetParam().hops);
    EXPECT_EQ(trail.result().notesText(), GetParam().notes);
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

TEST(PageTrail, OtherFilesArriveOnlyThroughTheServer)
{
    PageTrail trail(Old, New, PageTrail::Kind::File);
    trail.take(page(RedirectPage));
    ASSERT_TRUE(trail.finished());
    EXPECT_EQ(trail.result().Class, CheckClass::FalschesZiel);
}

} // namespace
