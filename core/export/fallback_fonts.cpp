#include "core/export/fallback_fonts.h"

#include <fontconfig/fontconfig.h>
#include <hb-subset.h>
#include <hb.h>

#include <utility>

#include "core/base/text_encoding.h"

namespace paylark {

struct FallbackFonts::Font {
  std::string file;
  int index = 0;
  std::string postScriptName;
  hb_face_t* face = nullptr;
  hb_font_t* font = nullptr;
  int unitsPerEm = 1000;
  std::map<std::uint32_t, int> advances;
  std::map<std::uint32_t, std::u32string> unicode;

  ~Font() {
    hb_font_destroy(font);
    hb_face_destroy(face);
  }
  bool HasTable(hb_tag_t tag) const {
    hb_blob_t* table = hb_face_reference_table(face, tag);
    const bool present = hb_blob_get_length(table) > 0;
    hb_blob_destroy(table);
    return present;
  }
  int Thousandths(hb_position_t units) const {
    return static_cast<int>((static_cast<long long>(units) * 1000 + unitsPerEm / 2) / unitsPerEm);
  }
};

namespace {

// A PDF name holds letters, digits and hyphens only.
std::string PdfNameText(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
      out += c;
  }
  return out.empty() ? "Font" : out;
}

struct Match {
  std::string file;
  int index = 0;
  std::string postScriptName;
};

// The installed scalable fonts that cover the character, best first as fontconfig orders them
// (a few: the first that can be embedded is taken).
std::vector<Match> FindFonts(FcConfig* configuration, char32_t character) {
  constexpr std::size_t kCandidates = 8;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
  FcCharSet* wanted = FcCharSetCreate();
  FcCharSetAddChar(wanted, character);
  FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(configuration, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* candidates = FcFontSort(configuration, pattern, FcFalse, nullptr, &result);
  std::vector<Match> found;
  for (int i = 0; candidates != nullptr && i < candidates->nfont && found.size() < kCandidates;
       ++i) {
    FcPattern* candidate = candidates->fonts[i];
    FcCharSet* covered = nullptr;
    FcChar8* file = nullptr;
    if (FcPatternGetCharSet(candidate, FC_CHARSET, 0, &covered) != FcResultMatch ||
        !FcCharSetHasChar(covered, character) ||
        FcPatternGetString(candidate, FC_FILE, 0, &file) != FcResultMatch) {
      continue;
    }
    Match match{reinterpret_cast<const char*>(file), 0, {}};
    FcPatternGetInteger(candidate, FC_INDEX, 0, &match.index);
    FcChar8* name = nullptr;
    if (FcPatternGetString(candidate, FC_POSTSCRIPT_NAME, 0, &name) == FcResultMatch)
      match.postScriptName = reinterpret_cast<const char*>(name);
    found.push_back(match);
  }
  if (candidates != nullptr)
    FcFontSetDestroy(candidates);
  FcCharSetDestroy(wanted);
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

FallbackFonts::FallbackFonts() = default;
FallbackFonts::~FallbackFonts() {
  if (configuration_ != nullptr)
    FcConfigDestroy(configuration_);
}

int FallbackFonts::Load(const std::string& file, int index) {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i]->file == file && fonts_[i]->index == index)
      return static_cast<int>(i);
  }
  auto font = std::make_unique<Font>();
  font->file = file;
  font->index = index;
  hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.c_str());
  if (blob == nullptr)
    return -1;
  font->face = hb_face_create(blob, static_cast<unsigned>(index));
  hb_blob_destroy(blob);
  font->unitsPerEm = static_cast<int>(hb_face_get_upem(font->face));
  font->font = hb_font_create(font->face);
  // Outlines a PDF can embed: TrueType glyf or CFF. Bitmap-only fonts (colour emoji) cannot.
  if (!font->HasTable(HB_TAG('g', 'l', 'y', 'f')) && !font->HasTable(HB_TAG('C', 'F', 'F', ' ')))
    return -1;
  fonts_.push_back(std::move(font));
  return static_cast<int>(fonts_.size() - 1);
}

int FallbackFonts::FontFor(char32_t character) {
  if (const auto known = fontOfCharacter_.find(character); known != fontOfCharacter_.end())
    return known->second;
  int chosen = -1;
  for (std::size_t i = 0; i < fonts_.size() && chosen < 0; ++i) {
    hb_codepoint_t glyph = 0;
    if (hb_font_get_nominal_glyph(fonts_[i]->font, character, &glyph))
      chosen = static_cast<int>(i);
  }
  if (chosen < 0 && configuration_ == nullptr)
    configuration_ = FcInitLoadConfigAndFonts();
  if (chosen < 0 && configuration_ != nullptr) {
    for (const Match& match : FindFonts(configuration_, character)) {
      const int loaded = Load(match.file, match.index);
      hb_codepoint_t glyph = 0;
      if (loaded < 0 || !hb_font_get_nominal_glyph(fonts_[loaded]->font, character, &glyph))
        continue;
      if (fonts_[loaded]->postScriptName.empty())
        fonts_[loaded]->postScriptName = PdfNameText(match.postScriptName);
      chosen = loaded;
      break;
    }
  }
  fontOfCharacter_[character] = chosen;
  return chosen;
}

int FallbackFonts::Advance(int font, char32_t character) const {
  const Font& f = *fonts_[static_cast<std::size_t>(font)];
  hb_codepoint_t glyph = 0;
  hb_font_get_nominal_glyph(f.font, character, &glyph);
  return f.Thousandths(hb_font_get_glyph_h_advance(f.font, glyph));
}

std::vector<FallbackFonts::Glyph> FallbackFonts::Shape(int font, std::string_view utf8) {
  Font& f = *fonts_[static_cast<std::size_t>(font)];
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf8(buffer, utf8.data(), static_cast<int>(utf8.size()), 0,
                     static_cast<int>(utf8.size()));
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(f.font, buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  std::vector<Glyph> glyphs;
  for (unsigned i = 0; i < count; ++i) {
    const std::uint32_t id = infos[i].codepoint;
    const int advance = f.Thousandths(hb_font_get_glyph_h_advance(f.font, id));
    glyphs.push_back({id, advance});
    f.advances[id] = advance;
    // The first glyph of a cluster stands for the cluster's characters.
    if (i > 0 && infos[i - 1].cluster == infos[i].cluster)
      continue;
    std::size_t end = utf8.size();
    for (unsigned j = 0; j < count; ++j) {
      if (infos[j].cluster > infos[i].cluster && infos[j].cluster < end)
        end = infos[j].cluster;
    }
    std::u32string text;
    for (std::size_t pos = infos[i].cluster; pos < end;)
      text += static_cast<char32_t>(NextCodePoint(utf8, pos));
    f.unicode.emplace(id, text);
  }
  hb_buffer_destroy(buffer);
  return glyphs;
}

int FallbackFonts::FontCount() const {
  return static_cast<int>(fonts_.size());
}

FallbackFonts::Embedding FallbackFonts::Embed(int font) const {
  const Font& f = *fonts_[static_cast<std::size_t>(font)];
  Embedding embedding;
  embedding.postScriptName = f.postScriptName.empty() ? "Font" : f.postScriptName;
  embedding.trueTypeOutlines = f.HasTable(HB_TAG('g', 'l', 'y', 'f'));
  embedding.advances = f.advances;
  embedding.unicode = f.unicode;
  hb_font_extents_t extents{};
  hb_font_get_h_extents(f.font, &extents);
  embedding.ascent = f.Thousandths(extents.ascender);
  embedding.descent = f.Thousandths(extents.descender);

  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (input == nullptr)
    return embedding;
  hb_set_t* glyphs = hb_subset_input_glyph_set(input);
  for (const auto& [id, advance] : f.advances)
    hb_set_add(glyphs, id);
  // Pages name glyphs by their ids in the whole font: a TrueType subset is renumbered and mapped
  // back through the glyph id map, a CFF subset keeps the ids.
  hb_subset_input_set_flags(input, embedding.trueTypeOutlines
                                       ? HB_SUBSET_FLAGS_NO_HINTING
                                       : HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
  hb_subset_plan_t* plan = hb_subset_plan_create_or_fail(f.face, input);
  if (plan != nullptr) {
    if (embedding.trueTypeOutlines && !f.advances.empty()) {
      const hb_map_t* renumbered = hb_subset_plan_old_to_new_glyph_mapping(plan);
      for (std::uint32_t old = 0; old <= f.advances.rbegin()->first; ++old) {
        const hb_codepoint_t id = hb_map_get(renumbered, old);
        const std::uint32_t kept = id == HB_MAP_VALUE_INVALID ? 0 : id;
        embedding.glyphIdMap += static_cast<char>(kept >> 8);
        embedding.glyphIdMap += static_cast<char>(kept & 0xFF);
      }
    }
    if (hb_face_t* subset = hb_subset_plan_execute_or_fail(plan)) {
      hb_blob_t* blob = hb_face_reference_blob(subset);
      unsigned length = 0;
      const char* data = hb_blob_get_data(blob, &length);
      embedding.fontFile.assign(data, length);
      hb_blob_destroy(blob);
      hb_face_destroy(subset);
    }
    hb_subset_plan_destroy(plan);
  }
  hb_subset_input_destroy(input);
  return embedding;
}

}  // namespace paylark
