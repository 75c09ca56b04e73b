#include "draw/recording_surface.h"

namespace lobe {

recorded_op recording_surface::make(recorded_op::kind_type k) const {
  recorded_op op{};
  op.kind = k;
  op.pen_used = pen_;
  op.brush_used = brush_;
  op.font_used = font_;
  op.text_colour = text_colour_;
  return op;
}

void recording_surface::move_to(int x, int y) {
  recorded_op op = make(recorded_op::op_move);
  op.points = {{x, y}};
  ops.push_back(op);
  current_ = {x, y};
}

void recording_surface::line_to(int x, int y) {
  recorded_op op = make(recorded_op::op_line);
  op.points = {current_, {x, y}};
  ops.push_back(op);
  current_ = {x, y};
}

void recording_surface::circle(int cx, int cy, int radius) {
  recorded_op op = make(recorded_op::op_circle);
  op.points = {{cx, cy}};
  op.radius = radius;
  ops.push_back(op);
}

void recording_surface::polyline(std::span<const point> points) {
  recorded_op op = make(recorded_op::op_polyline);
  op.points.assign(points.begin(), points.end());
  ops.push_back(op);
}

void recording_surface::polygon(std::span<const point> points) {
  recorded_op op = make(recorded_op::op_polygon);
  op.points.assign(points.begin(), points.end());
  ops.push_back(op);
}

void recording_surface::rectangle(int left, int top, int right, int bottom) {
  recorded_op op = make(recorded_op::op_rectangle);
  op.points = {{left, top}, {right, bottom}};
  ops.push_back(op);
}

point recording_surface::text_extent(std::string_view text) {
  return {static_cast<int>(text.size()) * font_.height * 11 / 20, font_.height};
}

void recording_surface::text_out(int x, int y, std::string_view text) {
  recorded_op op = make(recorded_op::op_text);
  op.points = {{x, y}};
  op.text = text;
  ops.push_back(op);
}

void recording_surface::draw_picture(picture, int x, int y, int width, int height) {
  recorded_op op = make(recorded_op::op_picture);
  op.points = {{x, y}, {x + width, y + height}};
  ops.push_back(op);
}

std::vector<recorded_op> recording_surface::of(recorded_op::kind_type k) const {
  std::vector<recorded_op> out;
  for (const auto& op : ops)
    if (op.kind == k) out.push_back(op);
  return out;
}

const recorded_op* recording_surface::find_text(std::string_view t) const {
  for (const auto& op : ops)
    if (op.kind == recorded_op::op_text && op.text == t) return &op;
  return nullptr;
}

}  // namespace lobe
