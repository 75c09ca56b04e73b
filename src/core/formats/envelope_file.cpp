#include "core/formats/envelope_file.h"

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/io/file_image.h"
#include "core/formats/line_splitter.h"

namespace lobe {

void new_envelope_data(envelopes_type& ed, envelope_reader_state& rs, const char* pdata) {
  char field1[80] = "";
  char field2[80] = "";
  const int fields = c_sscanf(pdata, "%79[^','],%79[^','],", field1, field2);
  if (fields >= 1 && std::string_view(field1) == ";") return;
  if (fields >= 1 && equals_nocase(field1, "envelope")) {
    if (ed.numenv >= MAX_ENVELOPES || ed.numenv < 0) {
      rs.envelope_ix = MAX_ENVELOPES;  // the library is full: this mask and its rows are dropped
      return;
    }
    ed.numenv += 1;
    rs.envelope_ix = ed.numenv - 1;
    envelope_data_type& env = ed.env[rs.envelope_ix];
    env.nupoin = 0;
    env.display = 0;
    set_field(env.title, fields >= 2 ? field2 : "");
    rs.env_data_ix = 0;
    return;
  }
  // A row: only inside an envelope, only while it has room.
  if (rs.envelope_ix < 0 || rs.envelope_ix >= MAX_ENVELOPES || rs.env_data_ix >= MAX_ENV_SAMPLES) return;
  float a1 = 0.0f, a2 = 0.0f, s = 0.0f;
  if (c_sscanf(pdata, "%f,%f,%f", &a1, &a2, &s) != 3) return;
  envelope_data_type& env = ed.env[rs.envelope_ix];
  env.angle1[rs.env_data_ix] = a1;
  env.angle2[rs.env_data_ix] = a2;
  env.signal[rs.env_data_ix] = s;
  rs.env_data_ix += 1;
  env.nupoin += 1;
}

void read_envelope_image(envelopes_type& ed, std::string_view image) {
  ed.numenv = 0;
  envelope_reader_state rs;
  split_lines(image, LINE_LIMIT, [&](const char* line) { new_envelope_data(ed, rs, line); });
}

bool read_envelope_file(envelopes_type& ed, const std::string& path) {
  ed.numenv = 0;
  std::FILE* file = open_for_reading(path);
  if (!file) return false;
  std::string image;
  if (read_file_image(file, image) == image_status::ok) read_envelope_image(ed, image);
  std::fclose(file);
  return true;
}

}  // namespace lobe
