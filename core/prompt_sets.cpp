// The four built-in prompt sets of the pager's menu (English, Spanish,
// French, German) and how a prompt text becomes its 20-byte record.
#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>

#include "core/cp1252.h"
#include "core/default_image.h"
#include "core/image_layout.h"

namespace zrv {
namespace L = layout;

namespace {

constexpr PromptText kEnglishMenu[] = {
    {0x05, "TELORI  "},         {0x06, "NO PAGES"},      {0x49, "ESCAPE"},
    {0x45, "MESSAGE LOCK"},     {0x44, "MESSAGE UNLOCK"}, {0x44, "MESSAGE DELETE"},
    {0x46, "DELETE ALL"},       {0x45, "MOVE TO MEMO"},  {0x46, "SET SCROLL"},
    {0x47, "SET TIME"},         {0x46, "SET ALARM"},     {0x46, "SET ALERT"},
    {0x46, "PAGER OFF"},        {0x00, "TONE ONLY"},     {0x43, "SLEEP"},
    {0x43, "SILENT"},           {0x45, "PAGER OFF ?"},   {0x44, "MESSAGE DELETE ?"},
    {0x46, "DELETE ALL ?"},     {0x22, "TIME SET"},      {0x22, "ALARM SET"},
    {0x22, "SCROLL SET"},       {0x44, "AUTO SLEEP SET"}, {0x27, "START    END"},
    {0x44, "MESSAGE AREA"},     {0x45, "MAIL DROP AREA"}, {0x43, "SILENT THEN BEEP"},
    {0x48, "ZOOM IN"},          {0x47, "ZOOM OUT"},      {0x47, "CHIRP ON"},
    {0x46, "CHIRP OFF"},
};

constexpr PromptText kSpanishMenu[] = {
    {0x05, "TELORI"},           {0x05, "SIN MESAJES"},   {0x42, "ARRIBA PARA SALIR"},
    {0x42, "BLOQUEAR MENSAJE"}, {0x42, "DESBLOQ. MENSAJE"}, {0x47, "BORRAR"},
    {0x44, "BORRAR TODOS"},     {0x44, "MOVER A MEMO"},  {0x42, "ROLLO DE MENSAJE"},
    {0x44, "AJUSTAR HORA"},     {0x43, "AJUSTAR ALARMA"}, {0x42, "ALERTA SILENCIOSA"},
    {0x47, "APAGAR"},           {0x06, "SOLO TONO"},     {0x44, "DORMIDA"},
    {0x44, "SILENCIOSA"},       {0x46, "APAGAR ?"},      {0x46, "BORRAR ?"},
    {0x44, "BORRAR TODOS"},     {0x04, "AJUSTAR HORA"},  {0x03, "AJUSTAR ALARMA"},
    {0x02, "ROLLO DE MENSAJE"}, {0x44, "AUTO DORMIDA"},  {0x04, "ON      OFF"},
    {0x44, "MENSAJE AREA"},     {0x43, "MAIL DROP AREA"}, {0x44, "SILEN.-TONO"},
    {0x47, "ZOOM IN"},          {0x46, "ZOOM OUT"},      {0x46, "TIMBRE ON"},
    {0x45, "TIMBRE OFF"},
};

constexpr PromptText kFrenchMenu[] = {
    {0x05, "TELORI"},             {0x03, "PAS DE MESSAGE"},   {0x42, "MONTER OU SORTIR"},
    {0x44, "VERROUILLAGE"},       {0x43, "DEVERROUILLAGE"},   {0x45, "EFFACEMENT"},
    {0x44, "EFFACER TOUT"},       {0x44, "DEP > MEMOIRE"},    {0x43, "Reg.DEFILEMENT"},
    {0x46, "Reg.HEURE"},          {0x45, "Reg.ALARME"},       {0x45, "Reg.ALERTE"},
    {0x45, "ARRET PAGER"},        {0x05, "TON UNIQUEMENT"},   {0x44, "MISE EN VEILLE"},
    {0x44, "SILENCIEUX"},         {0x44, "ARRET PAGER ?"},    {0x44, "EFFACEMENT ?"},
    {0x43, "EFFACER TOUT ?"},     {0x06, "Reg.HEURE"},        {0x05, "Reg.ALARME"},
    {0x03, "Reg.DEFILEMENT"},     {0x45, "REG.VEILLE"},       {0x04, "DEPART  FIN"},
    {0x42, "ZONE DE MESSAGES"},   {0x41, "ZONE BOITE LETTRES"}, {0x43, "SILENCIEUX ET BEEP"},
    {0x46, "LOUPE+"},             {0x46, "LOUPE-"},           {0x42, "AVEC MODE DISCRET"},
    {0x42, "SANS MODE DISCRET"},
};
constexpr PromptText kFrenchHistory[] = {{0x45, "HISTORIQUE"}, {0x25, "HISTORIQUE"}};

constexpr PromptText kGermanMenu[] = {
    {0x07, "Veltaro"},            {0x03, "Keine Nachricht"},  {0x46, "verlassen"},
    {0x42, "Nachricht sichern"},  {0x42, "Nachr. freigeben"}, {0x42, "Nachricht löschen"},
    {0x44, "Alle löschen"},       {0x42, "Als Notiz sichern"}, {0x45, "Scrollrate"},
    {0x45, "Uhr stellen"},        {0x43, "Wecker stellen"},   {0x43, "Alarmart wählen"},
    {0x46, "Pager aus"},          {0x00, "Nur Ton"},          {0x43, "Stiller Alarm"},
    {0x43, "Vibration"},          {0x45, "Pager aus ?"},      {0x46, "Löschen ?"},
    {0x43, "Alle löschen ?"},     {0x25, "Uhr stellen"},      {0x23, "Wecker stellen"},
    {0x25, "Scrollrate"},         {0x42, "Automat. Aussch."}, {0x27, "Start    Ende"},
    {0x43, "Private Nachr."},     {0x43, "Öffentl. Nachr."},  {0x43, "Vibr., dann Ton"},
    {0x45, "Vergrößern"},         {0x45, "Verkleinern"},      {0x44, "Kurz-Piep ein"},
    {0x44, "Kurz-Piep aus"},
};
constexpr PromptText kGermanHistory[] = {{0x43, "Verlauf einst."}, {0x25, "Verlauf einst."}};

static_assert(std::size(kEnglishMenu) == L::kMenuPromptCount);
static_assert(std::size(kSpanishMenu) == L::kMenuPromptCount);
static_assert(std::size(kFrenchMenu) == L::kMenuPromptCount);
static_assert(std::size(kGermanMenu) == L::kMenuPromptCount);

void writePrompts(ConfigImage& image, std::size_t offset, std::span<const PromptText> prompts) {
    for (const auto& p : prompts) {
        image.write(offset, PromptRecordBytes(p));
        offset += L::kPromptRecordSize;
    }
}

}  // namespace

int LanguageItemFromCode(int code) {
    if (code >= 0 && code <= 2) return kLanguageEnglish;
    for (int i = 1; i < kLanguageCount; ++i)
        if (kLanguageCodes[static_cast<std::size_t>(i)] == code) return i;
    return -1;
}

PromptSet BuiltInPromptSet(int item) {
    switch (item) {
        case kLanguageEnglish:
        case kLanguageSwedish: return {kEnglishMenu, {}};
        case kLanguageSpanish: return {kSpanishMenu, {}};
        case kLanguageFrench: return {kFrenchMenu, kFrenchHistory};
        case kLanguageGerman: return {kGermanMenu, kGermanHistory};
        default: throw std::out_of_range("prompt language item outside 0..4");
    }
}

std::array<std::uint8_t, 20> PromptRecordBytes(const PromptText& prompt) {
    std::array<std::uint8_t, 20> r;
    r.fill(' ');
    const std::string text = Utf8ToCp1252(prompt.text).substr(0, L::kPromptMaxText);
    r[0] = prompt.attribute;
    r[1] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), r.begin() + L::kPromptTextOffset);
    return r;
}

void WritePromptSet(ConfigImage& image, int item) {
    const PromptSet set = BuiltInPromptSet(item);
    writePrompts(image, L::kMenuPromptBlock.offset, set.menu);
    if (!set.history.empty()) writePrompts(image, L::kHistoryPromptBlock.offset, set.history);
}

}  // namespace zrv
