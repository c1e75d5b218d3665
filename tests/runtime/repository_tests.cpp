// The form repository: pseudonym lookups and edits, real paths, the stored
// bytes, and the form component's Pseudonymes property that carries them.
#include "runtime/uLexivane.h"
#include "runtime/uRepository.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <stdexcept>

using namespace lx;

namespace lx {
void PrintTo(const TPseudonym& p, std::ostream* os) {
    *os << '{' << p.ComponentName << ", " << p.Pseudonym << '}';
}
} // namespace lx

namespace {

TFormRepository Repository(TPseudonymArr pairs) {
    TFormRepository r;
    r.SetPseudonymes(std::move(pairs));
    return r;
}

// A 32-bit little-endian number.
QByteArray Count(std::uint32_t n) {
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((n >> (8 * i)) & 0xFF));
    return b;
}

// A stored text: its length, then its bytes.
QByteArray Field(const std::string& s) {
    return Count(static_cast<std::uint32_t>(s.size())) +
           QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

TEST(Repository, LookupsIgnoreAsciiCase) {
    const TFormRepository r =
        Repository({{"Button1", "btnOK"}, {"Label1", "lblInfo"}, {"button1", "second"}});
    const struct {
        const char* ComponentName;
        const char* Pseudonym;
    } pseudonyms[] = {{"Button1", "btnOK"},
                      {"BUTTON1", "btnOK"}, // the first pair
                      {"label1", "lblInfo"},
                      {"Button2", ""},
                      {"btnOK", ""}};
    for (const auto& c : pseudonyms)
        EXPECT_EQ(r.GetPseudonym(c.ComponentName), c.Pseudonym) << c.ComponentName;
    const struct {
        const char* Pseudonym;
        const char* ComponentName;
    } names[] = {{"btnok", "Button1"}, {"LBLINFO", "Label1"}, {"Button1", ""}, {"", ""}};
    for (const auto& c : names)
        EXPECT_EQ(r.GetComponentName(c.Pseudonym), c.ComponentName) << c.Pseudonym;
}

TEST(Repository, UpdateDeleteChangeName) {
    TFormRepository r = Repository({{"Button1", "btnOK"}, {"Label1", "lblInfo"}});
    r.Update("BUTTON1", "btnYes"); // an existing pair, found ignoring case
    r.Update("Edit1", "edName");   // a new one goes last
    EXPECT_EQ(r.Pseudonymes(),
              (TPseudonymArr{{"Button1", "btnYes"}, {"Label1", "lblInfo"}, {"Edit1", "edName"}}));
    r.Update("label1", ""); // an empty pseudonym removes the pair
    EXPECT_EQ(r.Pseudonymes(), (TPseudonymArr{{"Button1", "btnYes"}, {"Edit1", "edName"}}));
    r.Delete("EDIT1");
    r.Delete("Nothing");
    EXPECT_EQ(r.Pseudonymes(), (TPseudonymArr{{"Button1", "btnYes"}}));
    r.ChangeName("button1", "Button7");
    r.ChangeName("Nothing", "Other");
    EXPECT_EQ(r.Pseudonymes(), (TPseudonymArr{{"Button7", "btnYes"}}));
    EXPECT_EQ(r.GetComponentName("btnyes"), "Button7");
}

TEST(Repository, NoComponentNameTwice) {
    // Renaming onto a name that already has a pair: the renamed component's
    // pair is the one that stays.
    TFormRepository r = Repository({{"Button1", "btnOK"}, {"Button2", "btnOld"}});
    r.ChangeName("Button1", "button2");
    EXPECT_EQ(r.Pseudonymes(), (TPseudonymArr{{"button2", "btnOK"}}));
    r.ChangeName("button2", "BUTTON2"); // a change of case only keeps the pair
    EXPECT_EQ(r.Pseudonymes(), (TPseudonymArr{{"BUTTON2", "btnOK"}}));
}

TEST(Repository, MakeRealPath) {
    const TFormRepository r = Repository({{"Button1", "btnOK"}, {"fMain", "MainForm"}});
    const struct {
        const char* Path;
        char Separator;
        const char* Real;
    } cases[] = {{"fMain.btnOK.text", '.', "fMain.Button1.text"},
                 {"MainForm.BTNOK.text", '.', "fMain.Button1.text"},
                 {"MainForm_btnOK_text", '_', "fMain_Button1_text"},
                 {"fMain.btnOKx.text", '.', "fMain.btnOKx.text"},
                 {"btnOK", '.', "Button1"},
                 {"", '.', ""}};
    for (const auto& c : cases)
        EXPECT_EQ(r.MakeRealPath(c.Path, c.Separator), c.Real) << c.Path;
}

TEST(Repository, StoredBytes) {
    const TPseudonymArr pairs{{"Button1", "btnOK"}, {"Label1", ""}};
    const QByteArray expected =
        Count(2) + Field("Button1") + Field("btnOK") + Field("Label1") + Field("");
    const QByteArray bytes = Repository(pairs).Write();
    EXPECT_EQ(bytes.toHex(), expected.toHex());

    TFormRepository r = Repository({{"Old", "old"}});
    r.Read(bytes);
    EXPECT_EQ(r.Pseudonymes(), pairs);
    EXPECT_EQ(r.Write(), bytes);

    EXPECT_EQ(TFormRepository().Write(), Count(0));
    r.Read(Count(0));
    EXPECT_TRUE(r.Pseudonymes().empty());
    r.SetPseudonymes(pairs);
    r.Read(QByteArray());
    EXPECT_TRUE(r.Pseudonymes().empty());
}

TEST(Repository, TruncatedBytesThrowAndKeepTheList) {
    const QByteArray bytes = Repository({{"Button1", "btnOK"}, {"Label1", "lblInfo"}}).Write();
    const TPseudonymArr before{{"Kept", "kept"}};
    // Every cut inside the stored list, from inside the count to the last byte.
    for (qsizetype n = 1; n < bytes.size(); ++n) {
        TFormRepository r = Repository(before);
        EXPECT_THROW(r.Read(bytes.left(n)), std::runtime_error) << n << " bytes";
        EXPECT_EQ(r.Pseudonymes(), before) << n << " bytes";
    }
    // A count promising more pairs than there are.
    TFormRepository r = Repository(before);
    EXPECT_THROW(r.Read(Count(3) + Field("a") + Field("b")), std::runtime_error);
    EXPECT_EQ(r.Pseudonymes(), before);
}

TEST(Repository, FormComponentPropertyIsBase64) {
    TLXForm form;
    form.GetRepository().Update("Button1", "btnOK");
    const QByteArray stored = form.GetRepository().Write();
    EXPECT_EQ(form.property("Pseudonymes").toByteArray(), stored.toBase64());

    const QByteArray other = Repository({{"Label1", "lblInfo"}}).Write();
    ASSERT_TRUE(form.setProperty("Pseudonymes", other.toBase64()));
    EXPECT_EQ(form.GetRepository().Pseudonymes(), (TPseudonymArr{{"Label1", "lblInfo"}}));

    // Not base64, or base64 of a damaged list: the pseudonyms stay.
    form.setProperty("Pseudonymes", QByteArray("not base64!"));
    form.setProperty("Pseudonymes", other.left(6).toBase64());
    EXPECT_EQ(form.GetRepository().Pseudonymes(), (TPseudonymArr{{"Label1", "lblInfo"}}));
    EXPECT_EQ(form.property("Pseudonymes").toByteArray(), other.toBase64());
}
