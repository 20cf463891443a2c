// The page reader against pages written the ways authors write them for a browser.
#include "host/page_reader.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kv::host {
namespace {

TEST(PageReader, ObjectAttributesInAnyOrderAndQuoting) {
    const Page page = ReadPage(
        L"<html><body>\n"
        L"<object id=\"Installer\" classid=\"clsid:D0D05CAA-80C0-455A-B5C8-6433218CBA29\" width=\"378\" height='311'>"
        L"</object>\n"
        L"<OBJECT HEIGHT=20 CLASSID='clsid:{00000000-0000-0000-0000-000000000001}' Width = 30px ID=Second></OBJECT>\n"
        L"</body></html>");
    ASSERT_EQ(page.objects.size(), 2u);
    EXPECT_EQ(page.objects[0].id, L"Installer");
    EXPECT_EQ(page.objects[0].classId, L"clsid:D0D05CAA-80C0-455A-B5C8-6433218CBA29");
    EXPECT_EQ(page.objects[0].width, 378);
    EXPECT_EQ(page.objects[0].height, 311);
    EXPECT_EQ(page.objects[1].id, L"Second");
    EXPECT_EQ(page.objects[1].classId, L"clsid:{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(page.objects[1].width, 30);
    EXPECT_EQ(page.objects[1].height, 20);
    EXPECT_LT(page.objects[0].position, page.objects[1].position);
    EXPECT_TRUE(page.scripts.empty());
}

TEST(PageReader, SizesThatAreNotPixelsCountAsAbsent) {
    const Page page = ReadPage(L"<object id=a classid=clsid:x width=\"100%\" height=\"\"></object>"
                               L"<object id=b classid=clsid:y></object>");
    ASSERT_EQ(page.objects.size(), 2u);
    EXPECT_EQ(page.objects[0].width, 0);
    EXPECT_EQ(page.objects[0].height, 0);
    EXPECT_EQ(page.objects[1].width, 0);
}

TEST(PageReader, FirstOfRepeatedAttributesWinsAndEntitiesAreDecoded) {
    const Page page = ReadPage(L"<object id=\"a&amp;b\" ID=\"ignored\" classid=\"clsid:&#49;&#x32;\"></object>");
    ASSERT_EQ(page.objects.size(), 1u);
    EXPECT_EQ(page.objects[0].id, L"a&b");
    EXPECT_EQ(page.objects[0].classId, L"clsid:12");
}

TEST(PageReader, ScriptBlocksInDocumentOrderWithTheirLines) {
    const Page page = ReadPage(
        L"<html>\n"                                   // line 1
        L"<script language=\"JScript\">var a = 1;\n"  // line 2
        L"</script>\n"                                // line 3
        L"<object id=o classid=clsid:x></object>\n"   // line 4
        L"<Script type=\"text/javascript\">\n"        // line 5
        L"var b = 2;</SCRIPT>\n"                      // line 6
        L"<SCRIPT>c();</script >");                   // line 7
    ASSERT_EQ(page.scripts.size(), 3u);
    EXPECT_EQ(page.scripts[0].language, L"JScript");
    EXPECT_EQ(page.scripts[0].text, L"var a = 1;\n");
    EXPECT_EQ(page.scripts[0].line, 2u);
    EXPECT_EQ(page.scripts[1].language, L"text/javascript");
    EXPECT_EQ(page.scripts[1].text, L"\nvar b = 2;");
    EXPECT_EQ(page.scripts[1].line, 5u);
    EXPECT_EQ(page.scripts[2].language, L"");
    EXPECT_EQ(page.scripts[2].text, L"c();");
    EXPECT_EQ(page.scripts[2].line, 7u);
    ASSERT_EQ(page.objects.size(), 1u);
    EXPECT_LT(page.scripts[0].position, page.objects[0].position);
    EXPECT_LT(page.objects[0].position, page.scripts[1].position);
    for (const PageScript& script : page.scripts) EXPECT_FALSE(script.IsHandler());
}

// Only "</script" ends a block, whatever the script around it looks like: comparisons,
// markup inside strings and end tags of other elements are script text.
TEST(PageReader, ScriptTextKeepsComparisonsAndMarkupInStrings) {
    const std::wstring body =
        L"\nif (a < b && b<c) x = \"<b>bold</b>\";\n"
        L"var end = '</div>' + \"</scr\" + \"ipt>\";\n"
        L"<!-- not a comment to the reader -->\n";
    const Page page = ReadPage(L"<script>" + body + L"</script><object id=o classid=clsid:x>");
    ASSERT_EQ(page.scripts.size(), 1u);
    EXPECT_EQ(page.scripts[0].text, body);
    EXPECT_EQ(page.objects.size(), 1u);
}

// A browser ends the block at the first "</script", even inside a string; the reader
// does the same rather than guess at script syntax.
TEST(PageReader, EndTagInsideStringEndsTheBlockAsInABrowser) {
    const Page page = ReadPage(L"<script>var s = \"</script>\"; alert(s);</script>");
    ASSERT_EQ(page.scripts.size(), 1u);
    EXPECT_EQ(page.scripts[0].text, L"var s = \"");
}

TEST(PageReader, EventHandlersCarryTheirObjectAndEvent) {
    const Page page = ReadPage(
        L"<script for=\"Installer\" event=\"OnCreate()\" language=\"JScript\">\n"
        L"  alert('created');\n"
        L"</script>\n"
        L"<SCRIPT LANGUAGE=JScript FOR=Installer EVENT=OnClose>window.close();</SCRIPT>");
    ASSERT_EQ(page.scripts.size(), 2u);
    EXPECT_TRUE(page.scripts[0].IsHandler());
    EXPECT_EQ(page.scripts[0].forObject, L"Installer");
    EXPECT_EQ(page.scripts[0].event, L"OnCreate()");
    EXPECT_EQ(page.scripts[0].text, L"\n  alert('created');\n");
    EXPECT_EQ(page.scripts[1].forObject, L"Installer");
    EXPECT_EQ(page.scripts[1].event, L"OnClose");
}

TEST(PageReader, CommentedMarkupIsSkipped) {
    const Page page = ReadPage(
        L"<!-- <object id=hidden classid=clsid:x></object> <script>alert(1)</script> -->"
        L"<p>1 < 2 and 3 > 2</p><object id=shown classid=clsid:y></object>");
    ASSERT_EQ(page.objects.size(), 1u);
    EXPECT_EQ(page.objects[0].id, L"shown");
    EXPECT_TRUE(page.scripts.empty());
}

TEST(PageReader, UnterminatedScriptRunsToTheEnd) {
    const Page page = ReadPage(L"<script>alert(1);\n");
    ASSERT_EQ(page.scripts.size(), 1u);
    EXPECT_EQ(page.scripts[0].text, L"alert(1);\n");
}

TEST(PageReader, EventSignatures) {
    EventSignature s = ParseEventSignature(L"OnCreate()");
    EXPECT_EQ(s.name, L"OnCreate");
    EXPECT_TRUE(s.parameters.empty());
    s = ParseEventSignature(L" OnProgress ( done, total ) ");
    EXPECT_EQ(s.name, L"OnProgress");
    ASSERT_EQ(s.parameters.size(), 2u);
    EXPECT_EQ(s.parameters[0], L"done");
    EXPECT_EQ(s.parameters[1], L"total");
    s = ParseEventSignature(L"OnClose");
    EXPECT_EQ(s.name, L"OnClose");
    EXPECT_TRUE(s.parameters.empty());
}

TEST(PageReader, JScriptLanguageNames) {
    for (const wchar_t* name : {L"", L"JScript", L"javascript", L"JavaScript1.2", L"text/javascript",
                                L"text/JScript", L" ecmascript "}) {
        EXPECT_TRUE(IsJScriptLanguage(name)) << name;
    }
    for (const wchar_t* name : {L"VBScript", L"text/vbscript", L"python"}) {
        EXPECT_FALSE(IsJScriptLanguage(name)) << name;
    }
}

TEST(PageReader, DecodesUtf8Utf16AndTheAnsiCodePage) {
    // "설치" in UTF-8, with and without the byte order mark.
    EXPECT_EQ(DecodePageBytes("\xEC\x84\xA4\xEC\xB9\x98"), L"설치");
    EXPECT_EQ(DecodePageBytes("\xEF\xBB\xBF\xEC\x84\xA4\xEC\xB9\x98"), L"설치");
    EXPECT_EQ(DecodePageBytes(std::string("\xFF\xFE\x24\xC1\x58\xCE", 6)), L"설치");
    // Not UTF-8: an old page in the system code page (949 under the Korean locale).
    ASSERT_EQ(::GetACP(), 949u);
    EXPECT_EQ(DecodePageBytes("\xBC\xB3\xC4\xA1"), L"설치");
    EXPECT_EQ(DecodePageBytes(""), L"");
}

}  // namespace
}  // namespace kv::host
