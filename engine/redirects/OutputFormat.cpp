#include "OutputFormat.h"

#include "CaddyRules.h"
#include "FileSystem.h"
#include "HtaccessRules.h"
#include "NginxRules.h"
#include "PageReport.h"
#include "RedirectsFileRules.h"
#include "SitemapFile.h"
#include "WebConfigRules.h"

namespace {

template <typename Writer>
std::unique_ptr<RedirectOutput> make(const RedirectRun& run)
{
    return std::make_unique<Writer>(run);
}

template <SitemapFile::Side Side>
std::unique_ptr<RedirectOutput> makeSitemap(const RedirectRun& run)
{
    return std::make_unique<SitemapFile>(run, Side);
}

std::unique_ptr<RedirectOutput> makeReport(const RedirectRun&)
{
    return std::make_unique<PageReport>();
}

using Place = OutputFormat::Place;
using Choice = OutputFormat::Choice;
constexpr std::string_view SitemapsCaption = "&Sitemaps (sitemap-alt.xml, sitemap-neu.xml)";

const OutputFormat Formats[] = {
    {"apache", ".htaccess", Place::InsideOutputRoot, "Weiterleitungen für &Apache (.htaccess)",
     "Apache", false, &make<HtaccessRules>},
    {"nginx", ".nginx.conf", Place::BesideOutputRoot,
     "Weiterleitungen für n&ginx (_Moved.nginx.conf)", "nginx", false, &make<NginxRules>},
    {"caddy", ".Caddyfile", Place::BesideOutputRoot,
     "Weiterleitungen für &Caddy (_Moved.Caddyfile)", "Caddy", false, &make<CaddyRules>},
    {"iis", "web.config", Place::InsideOutputRoot, "Weiterleitungen für &IIS (web.config)", "IIS",
     false, &make<WebConfigRules>},
    {"netlify", "_redirects", Place::InsideOutputRoot,
     "Weiterleitungen für &Netlify und Cloudflare Pages (_redirects)", "Netlify", false,
     &make<RedirectsFileRules>},
    {"sitemap-alt", "sitemap-alt.xml", Place::InsideOutputRoot, SitemapsCaption, "Sitemaps", false,
     &makeSitemap<SitemapFile::Side::Old>, Choice::Sitemaps},
    {"sitemap-neu", "sitemap-neu.xml", Place::InsideOutputRoot, SitemapsCaption, "Sitemaps", false,
     &makeSitemap<SitemapFile::Side::New>, Choice::Sitemaps},
    {"report", ".csv", Place::BesideOutputRoot, "&Bericht (CSV) speichern", "Bericht", true,
     &makeReport, Choice::Report},
};

} // namespace

std::string OutputFormat::pathFor(const std::string& outputRoot) const
{
    if (Where == Place::InsideOutputRoot)
        return outputRoot + PathSeparator + std::string(File);
    return outputRoot + std::string(File);
}

std::string OutputFormat::displayName(const std::string& outputRoot) const
{
    const std::string path = pathFor(outputRoot);
    return path.substr(path.find_last_of(PathSeparator) + 1);
}

std::span<const OutputFormat> OutputFormat::all()
{
    return Formats;
}

const OutputFormat* OutputFormat::find(std::string_view name)
{
    for (const OutputFormat& format : Formats) {
        if (format.Name == name)
            return &format;
    }
    return nullptr;
}

const OutputFormat& OutputFormat::report()
{
    return *find("report");
}
