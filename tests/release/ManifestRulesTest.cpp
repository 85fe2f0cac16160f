// The manifest rules on the real manifest and on copies of it with one fault
// each: the real one passes, every faulty one is caught with the right entry.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ManifestRules.h"

namespace {

std::string RealManifest() {
    std::ifstream in(CC_MANIFEST_FILE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with the first `from` replaced by `to`; fails the test when there
// is no such text, so that a fault is never silently not made.
std::string With(const std::string& text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no " << from << " in the manifest";
    if (at == std::string::npos) return text;
    return text.substr(0, at) + to + text.substr(at + from.size());
}

TEST(ManifestRules, TheShippedManifestHasEveryEntry) {
    const std::string xml = RealManifest();
    ASSERT_FALSE(xml.empty()) << CC_MANIFEST_FILE;
    EXPECT_EQ(manifest::Problems(xml), std::vector<std::string>{});
}

TEST(ManifestRules, EachFaultIsCaughtAsItsEntry) {
    const std::string xml = RealManifest();
    struct Fault {
        const char* From;
        const char* To;
        const char* Problem;   // the start of the line that must be reported
        size_t Count = 1;      // how many lines
    } faults[] = {
        {"version=\"6.0.0.0\"", "version=\"5.82.0.0\"", "no dependency on Microsoft.Windows.Common-Controls"},
        {"6595b64144ccf1df", "0000000000000000", "no dependency on Microsoft.Windows.Common-Controls"},
        {"Microsoft.Windows.Common-Controls", "Microsoft.Windows.Other", "no dependency on Microsoft.Windows.Common-Controls"},
        {"<dependentAssembly>", "<dependentAssembly><x>", "not well formed"},
        {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{35138b9a-0000-4fbd-8e2d-a2440225f93a}", "no supportedOS Windows 7 "},
        {"<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>", "", "no supportedOS Windows 8 "},
        {"<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>", "", "no supportedOS Windows 8.1 "},
        {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "", "no supportedOS Windows 10 and 11 "},
        {"level=\"asInvoker\"", "level=\"requireAdministrator\"", "no requestedExecutionLevel asInvoker"},
        {"uiAccess=\"false\"", "uiAccess=\"true\"", "no requestedExecutionLevel asInvoker"},
        {">true</dpiAware>", ">false</dpiAware>", "not DPI aware"},
        // Windows 7 to 8.1 read only dpiAware: false there is unaware, and so
        // is an unaware dpiAwareness for Windows 10.
        {">true</dpiAware>",
         ">false</dpiAware><dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">system</dpiAwareness>",
         "not DPI aware"},
        {">true</dpiAware>",
         ">true</dpiAware><dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">unaware</dpiAwareness>",
         "not DPI aware"},
        // Every entry counts only in its own namespace.
        {"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\"", "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v3\"",
         "the root is not"},
        {"<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\"", "<assembly", "the root is not"},
        {"<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">", "<trustInfo>", "no requestedExecutionLevel asInvoker"},
        {"compatibility.v1", "compatibility.v2", "no supportedOS Windows 7 ", 4},
        {"SMI/2005/WindowsSettings", "SMI/2016/WindowsSettings", "not DPI aware"},
        {"<dependency>", "<dependency xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
         "no dependency on Microsoft.Windows.Common-Controls"},
        {"<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">", "<v3:trustInfo>", "not well formed"},
        {"<windowsSettings>", "<other>", "not well formed"},
        {"</trustInfo>", "", "not well formed"},
        {"manifestVersion=\"1.0\"", "manifestVersion=1.0", "not well formed"},
        {"manifestVersion=\"1.0\"", "manifestVersion=\"2.0\"", "the root is not"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(std::string(f.From) + " -> " + f.To);
        std::vector<std::string> problems = manifest::Problems(With(xml, f.From, f.To));
        EXPECT_EQ(problems.size(), f.Count);
        if (problems.empty()) continue;
        EXPECT_EQ(problems[0].compare(0, std::string(f.Problem).size(), f.Problem), 0) << problems[0];
    }
}

TEST(ManifestRules, OtherSpellingsOfTheSameEntriesPass) {
    const std::string xml = RealManifest();
    // Upper-case ids and token, a per-monitor awareness, a prefixed namespace.
    std::string other = With(xml, "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{35138B9A-5D96-4FBD-8E2D-A2440225F93A}");
    other = With(other, "6595b64144ccf1df", "6595B64144CCF1DF");
    other = With(other, ">true</dpiAware>",
                 ">true</dpiAware><dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                 "PerMonitorV2</dpiAwareness>");
    other = With(other, "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">", "<v3:trustInfo xmlns:v3=\"urn:schemas-microsoft-com:asm.v3\">");
    for (const char* name : {"security", "requestedPrivileges"}) {
        other = With(other, std::string("<") + name + ">", std::string("<v3:") + name + ">");
        other = With(other, std::string("</") + name + ">", std::string("</v3:") + name + ">");
    }
    other = With(other, "<requestedExecutionLevel", "<v3:requestedExecutionLevel");
    other = With(other, "</trustInfo>", "</v3:trustInfo>");
    // The default namespace named with a prefix instead.
    other = With(other, "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\"",
                 "<asmv1:assembly xmlns:asmv1=\"urn:schemas-microsoft-com:asm.v1\" xmlns=\"urn:schemas-microsoft-com:asm.v1\"");
    other = With(other, "</assembly>", "</asmv1:assembly>");
    EXPECT_EQ(manifest::Problems(other), std::vector<std::string>{});
}

TEST(ManifestRules, EmptyOrForeignTextIsRejected) {
    EXPECT_EQ(manifest::Problems(""), std::vector<std::string>{"not well formed: no element"});
    EXPECT_EQ(manifest::Problems("<a>").size(), 1u);
    EXPECT_EQ(manifest::Problems("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>").size(), 7u)
        << "the controls, four systems, the level and the awareness";
    EXPECT_EQ(manifest::Problems("<assembly manifestVersion=\"1.0\"/>").size(), 1u) << "no manifest's namespace";
}

}  // namespace
