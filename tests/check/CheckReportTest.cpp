#include "CheckReport.h"

#include <gtest/gtest.h>

namespace {

CheckResult withNotes(CheckResult result, std::initializer_list<CheckNote> notes)
{
    for (const CheckNote note : notes)
        result.addNote(note);
    return result;
}

const CheckReport Report({
    withNotes({CheckClass::Ok, "http://a/x", "http://n/x", 200, {}, 3, {}},
              {CheckNote::RobotsNeu, CheckNote::Kette, CheckNote::Kette}),
    {CheckClass::Fehler, "http://a/y", "http://a/y", 0, "keine Verbindung", 0, {}},
    withNotes({CheckClass::FalschesZiel, "http://www.a/", "http://a/", 200, {}, 1, {}},
              {CheckNote::HostVariante}),
});

TEST(CheckReport, HopsAndNotesFollowTheStatus)
{
    EXPECT_EQ(CheckReport::line(Report.results()[0]),
              "ok\thttp://a/x\thttp://n/x\t200\t3\tkette;robots-neu");
    EXPECT_EQ(CheckReport::line(Report.results()[1]),
              "fehler\thttp://a/y\thttp://a/y\tkeine Verbindung\t0\t");
    EXPECT_EQ(Report.csv(), "\xEF\xBB\xBFKlasse,Alte URL,Ziel-URL,Status,Sprünge,Hinweise\r\n"
                            "ok,http://a/x,http://n/x,200,3,kette;robots-neu\r\n"
                            "fehler,http://a/y,http://a/y,keine Verbindung,0,\r\n"
                            "falsches-ziel,http://www.a/,http://a/,200,1,hostvariante\r\n");
}

TEST(CheckReport, SummaryCountsClassesAndTheNotesFound)
{
    EXPECT_EQ(Report.summary(), "Geprüft: 3, ok: 1, nur-seite: 0, falsches-ziel: 1, ziel-fehlt: 0, "
                                "alt-fehlt: 0, schleife: 0, fehler: 1; Hinweise: kette: 1, "
                                "robots-neu: 1, hostvariante: 1");
    EXPECT_FALSE(Report.withoutNotes());
    EXPECT_TRUE(CheckReport({Report.results()[1]}).withoutNotes());
}

} // namespace
