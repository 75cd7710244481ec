// The mapping of the table in VCard.h, written once for both directions
// where the property holds one text.
#include "VCard.h"

#include <cctype>

#include "CodePage.h"
#include "ContentLine.h"
#include "QuotedPrintable.h"

namespace {

struct SimpleProperty {
  const char* field;
  const char* property;
};

// Written in this order after FN; ADR goes between ORG and TEL.
const SimpleProperty kBeforeAddress[] = {{"company", "ORG"}};
const SimpleProperty kAfterAddress[] = {
    {"phone", "TEL"}, {"nick", "NICKNAME"}, {"comment", "NOTE"}, {"email", "EMAIL"}};

// ADR components: 0 post office box, 1 extended address, 2 street,
// 3 locality, 4 region, 5 postal code, 6 country.
struct AddressPart {
  std::size_t component;
  const char* field;
};
const AddressPart kAddressParts[] = {{2, "address"}, {3, "city"}, {4, "state"}, {5, "zip"}};
constexpr std::size_t kAddressComponents = 7;

// Properties that carry nothing a user would miss in the record.
const char* const kQuietProperties[] = {"VERSION", "PRODID", "UID", "REV", "KIND", "N"};

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && b[i] == '\0';
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string joined;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!joined.empty()) joined += separator;
    joined += part;
  }
  return joined;
}

void AppendSimple(std::string& out, const RecordFields& fields, const SimpleProperty& property, int& dropped) {
  const std::string value = fields.Text(property.field);
  if (!value.empty()) AppendContentLine(out, property.property, EscapeContentText(value, &dropped));
}

// A record field holds 254 characters of one byte, at most four UTF-8 bytes
// each: a card's values are gathered up to this bound and the rest is not
// read, so that one card of 100,000 lines costs linear time.
constexpr std::size_t kMaxGatheredBytes = 4 * 254;
constexpr std::size_t kMaxIgnoredNamed = 20;

// value cut to the bound (at a character's start).
std::string Bounded(const std::string& value) {
  if (value.size() <= kMaxGatheredBytes) return value;
  std::size_t cut = kMaxGatheredBytes;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  return value.substr(0, cut);
}

// The fields of one card while it is read.
struct CardBuilder {
  ImportedRecord record;
  std::string fn, nameFromN, company, phones, nick, notes, email;
  std::vector<std::string> address;  // empty until the first ADR
  std::vector<std::string> ignored;
  std::size_t ignoredMore = 0;
  std::vector<std::string> full;  // properties whose further values were not read

  // Appends value to a field that gathers every line of a property.
  void Gather(std::string& field, const std::string& value, const char* separator, const std::string& property) {
    if (field.size() >= kMaxGatheredBytes) {
      for (const std::string& name : full) {
        if (name == property) return;
      }
      full.push_back(property);
      record.notes.push_back("further " + property + " values not read: the field is full");
      return;
    }
    field = Bounded(Join({field, Bounded(value)}, separator));
  }

  void Ignore(const std::string& name) {
    for (const std::string& known : ignored) {
      if (known == name) return;
    }
    if (ignored.size() < kMaxIgnoredNamed)
      ignored.push_back(name);
    else
      ++ignoredMore;
  }

  void Add(const ContentLine& line) {
    const std::string& name = line.name;
    if (name == "FN") {
      std::string value = UnescapeContentText(line.value);
      if (fn.empty())
        fn = value;
      else
        record.notes.push_back("further FN \"" + value + "\" not stored");
    } else if (name == "N") {
      // family; given; additional; prefixes; suffixes
      std::vector<std::string> parts = SplitContentValue(line.value, ';');
      parts.resize(5);
      nameFromN = Join({parts[3], parts[1], parts[2], parts[0], parts[4]}, " ");
    } else if (name == "ORG") {
      std::string value = Join(SplitContentValue(line.value, ';'), ", ");
      if (company.empty())
        company = value;
      else
        record.notes.push_back("further ORG \"" + value + "\" not stored");
    } else if (name == "TEL") {
      std::string value = UnescapeContentText(line.value);
      if (value.size() > 4 && EqualsIgnoringCase(value.substr(0, 4), "tel:")) value = value.substr(4);
      Gather(phones, value, ", ", name);
    } else if (name == "NICKNAME") {
      Gather(nick, Join(SplitContentValue(Bounded(line.value), ','), ", "), ", ", name);
    } else if (name == "NOTE") {
      Gather(notes, UnescapeContentText(Bounded(line.value)), "\r\n", name);
    } else if (name == "EMAIL") {
      std::string value = UnescapeContentText(line.value);
      if (email.empty())
        email = value;
      else
        record.notes.push_back("further EMAIL \"" + value + "\" not stored");
    } else if (name == "ADR") {
      std::vector<std::string> parts = SplitContentValue(line.value, ';');
      parts.resize(kAddressComponents);
      if (!address.empty()) {
        record.notes.push_back("further ADR \"" + Join(parts, ", ") + "\" not stored");
        return;
      }
      address = parts;
      address[2] = Join({parts[0], parts[1], parts[2]}, ", ");
      if (!parts[6].empty()) record.notes.push_back("country \"" + parts[6] + "\" not stored");
    } else {
      for (const char* quiet : kQuietProperties) {
        if (name == quiet) return;
      }
      Ignore(name);
    }
  }

  ImportedRecord Finish() {
    record.SetText("name", fn.empty() ? nameFromN : fn);
    if (fn.empty() && nameFromN.empty()) record.notes.push_back("no name (FN or N)");
    record.SetText("company", company);
    for (const AddressPart& part : kAddressParts)
      record.SetText(part.field, address.empty() ? std::string() : address[part.component]);
    record.SetText("phone", phones);
    record.SetText("nick", nick);
    record.SetText("comment", notes);
    record.SetText("email", email);
    if (!ignored.empty())
      record.notes.push_back("not stored: " + Join(ignored, ", ") +
                             (ignoredMore > 0 ? " and " + std::to_string(ignoredMore) + " more" : std::string()));
    return record;
  }
};

bool UsesProperty(const std::string& name) {
  for (const char* used : {"FN", "N", "ORG", "TEL", "NICKNAME", "NOTE", "EMAIL", "ADR"}) {
    if (name == used) return true;
  }
  return false;
}

// The encoding of a value: "ENCODING=X", or in vCard 2.1 a bare parameter
// ("QUOTED-PRINTABLE", "BASE64"); empty for none.
std::string EncodingOf(const ContentLine& line) {
  std::string encoding = ContentParameter(line, "ENCODING");
  for (const auto& parameter : line.parameters) {
    if (!encoding.empty()) break;
    if (parameter.second.empty() && (parameter.first == "QUOTED-PRINTABLE" || parameter.first == "BASE64" ||
                                     parameter.first == "B" || parameter.first == "8BIT" || parameter.first == "7BIT"))
      encoding = parameter.first;
  }
  return encoding;
}

// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string utf8;
  for (char c : bytes) AppendUtf8(utf8, static_cast<unsigned char>(c));
  return utf8;
}

// Replaces an encoded value by its text; false (with the reason) when it
// cannot be read, so that no encoded text is ever stored as it stands.
bool Decode(ContentLine& line, std::string& problem) {
  const std::string encoding = EncodingOf(line);
  if (encoding.empty() || EqualsIgnoringCase(encoding, "8BIT") || EqualsIgnoringCase(encoding, "7BIT")) return true;
  if (!EqualsIgnoringCase(encoding, "QUOTED-PRINTABLE")) {
    problem = "its encoding " + encoding + " is not read by import";
    return false;
  }
  std::string bytes;
  if (!DecodeQuotedPrintable(line.value, bytes)) {
    problem = "broken quoted-printable text";
    return false;
  }
  const std::string charset = ContentParameter(line, "CHARSET");
  std::string error;
  if (EqualsIgnoringCase(charset, "ISO-8859-1")) {
    line.value = Latin1ToUtf8(bytes);
  } else if ((charset.empty() || EqualsIgnoringCase(charset, "UTF-8") || EqualsIgnoringCase(charset, "US-ASCII")) &&
             CheckUtf8Text(bytes, error)) {
    line.value = bytes;
  } else {
    problem = "its quoted-printable text is not in UTF-8 or ISO-8859-1" +
              (charset.empty() ? std::string() : " (CHARSET=" + charset + ")");
    return false;
  }
  return true;
}

}  // namespace

void AppendVCard(std::string& out, const RecordFields& fields, int& dropped) {
  out += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
  AppendContentLine(out, "FN", EscapeContentText(fields.Text("name"), &dropped));
  for (const SimpleProperty& property : kBeforeAddress) AppendSimple(out, fields, property, dropped);
  std::vector<std::string> components(kAddressComponents);
  bool anyAddress = false;
  for (const AddressPart& part : kAddressParts) {
    components[part.component] = fields.Text(part.field);
    anyAddress = anyAddress || !components[part.component].empty();
  }
  if (anyAddress) {
    std::string value;
    for (std::size_t i = 0; i < components.size(); ++i) {
      if (i > 0) value += ';';
      value += EscapeContentText(components[i], &dropped);
    }
    AppendContentLine(out, "ADR", value);
  }
  for (const SimpleProperty& property : kAfterAddress) AppendSimple(out, fields, property, dropped);
  out += "END:VCARD\r\n";
}

bool ReadVCards(const std::string& text, std::vector<ImportedRecord>& cards, std::string& error) {
  cards.clear();
  if (!CheckUtf8Text(text, error)) return false;
  std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::vector<ContentLine> lines;
  if (!ParseContentLines(text.substr(start), lines, error)) return false;
  bool inCard = false;
  CardBuilder card;
  for (const ContentLine& line : lines) {
    const std::string where = "line " + std::to_string(line.lineNumber) + ": ";
    const bool isVCardMarker = EqualsIgnoringCase(line.value, "VCARD");
    if (line.name == "BEGIN" && isVCardMarker) {
      if (inCard) {
        error = where + "BEGIN:VCARD inside a card";
        return false;
      }
      inCard = true;
      card = CardBuilder();
      card.record.lineNumber = line.lineNumber;
    } else if (line.name == "END" && isVCardMarker) {
      if (!inCard) {
        error = where + "END:VCARD without BEGIN:VCARD";
        return false;
      }
      inCard = false;
      cards.push_back(card.Finish());
    } else if (!inCard) {
      error = where + line.name + " outside a vCard";
      return false;
    } else {
      ContentLine decoded = line;
      std::string problem;
      if (!UsesProperty(line.name) || Decode(decoded, problem))
        card.Add(decoded);
      else
        card.record.notes.push_back(line.name + " not stored: " + problem);
    }
  }
  if (inCard) {
    error = "the card that starts at line " + std::to_string(card.record.lineNumber) + " has no END:VCARD";
    return false;
  }
  if (cards.empty()) {
    error = "no vCard (BEGIN:VCARD) in the file";
    return false;
  }
  return true;
}
