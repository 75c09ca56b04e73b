// The menus built at run time: Envelopes, Com port, Labs and the test-range
// help, and the check marks that follow the program's state.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "core/text/c_numeric.h"
#include "core/record/cut_editing.h"

namespace lobe {

namespace {

QAction* add_item(QMenu* menu, const QString& text, bool checked) {
  QAction* a = menu->addAction(text);
  a->setCheckable(true);
  a->setChecked(checked);
  return a;
}

}  // namespace

// One item per envelope of the library, ticked when it is shown.
void main_window::build_envelope_menu() {
  QMenu* env = menuBar()->addMenu(QStringLiteral("Envelopes"));
  const int n = std::min(st_.ed.numenv, MAX_ENVELOPE_ITEMS);
  for (int e = 0; e < n; ++e) {
    QAction* a = add_item(env, QString::fromLatin1(st_.ed.env[e].title), st_.ed.env[e].display != 0);
    connect(a, &QAction::triggered, this, [this, e] { on_envelope_item(e); });
    actions_.envelopes.push_back(a);
  }
}

// One item per serial port found, ticked for the turntable's.
void main_window::build_com_menu() {
  QMenu* com = menuBar()->addMenu(QStringLiteral("Com port"));
  const int n = std::min<int>(static_cast<int>(ws_.com_ports.size()), MAX_COM_PORT_ITEMS);
  for (int p = 0; p < n; ++p) {
    const std::size_t i = static_cast<std::size_t>(p);
    const int prov = i < ws_.com_ports_prov.size() ? ws_.com_ports_prov[i] : 0;
    const std::string text =
        c_format("COM%u [0x%2X]", static_cast<unsigned>(ws_.com_ports[i]), static_cast<unsigned>(prov));
    QAction* a = add_item(com, QString::fromStdString(text), p == ws_.current_com_port);
    connect(a, &QAction::triggered, this, [this, p] { on_com_port_item(p); });
    actions_.com_ports.push_back(a);
  }
}

void main_window::build_labs_menu() {
  QMenu* labs = menuBar()->addMenu(QStringLiteral("Labs"));
  actions_.scale_to_max = add_action(labs, "Scale all to strongest signal", true, &main_window::on_scale_to_max);
  const char* mirrors[] = {"Mirror top to bottom", "Mirror right to left", "Mirror bottom to top",
                           "Mirror left to right"};
  const int directions[] = {ID_LABS_MIRROR_TOP, ID_LABS_MIRROR_RIGHT, ID_LABS_MIRROR_BOTTOM, ID_LABS_MIRROR_LEFT};
  for (int i = 0; i < 4; ++i) {
    actions_.mirror[i] = add_action(labs, mirrors[i], false, nullptr);
    connect(actions_.mirror[i], &QAction::triggered, this, [this, d = directions[i]] { on_mirror(d); });
  }
  actions_.reset_colours = add_action(labs, "Reset default graph colours", false, &main_window::on_reset_colours);
  actions_.dsa_ip = add_action(labs, "Set DSA IP address", false, &main_window::on_dsa_ip);
}

// The menus the files and the mode call for, each made once, and the ticks
// that follow the state.
void main_window::mainwindow_menus() {
  if (ws_.env_file_open && !env_menu_built_) {
    build_envelope_menu();
    env_menu_built_ = true;
  }
  if (st_.range.capture_enabled && !ws_.com_ports.empty() && !com_menu_built_) {
    build_com_menu();
    com_menu_built_ = true;
  }
  const bool full = full_mode();
  if (full && !labs_menu_built_) {
    build_labs_menu();
    labs_menu_built_ = true;
  }
  if (full && !help_labs_added_) {
    actions_.help_range = add_action(help_menu_, "Test Range", false, nullptr);
    connect(actions_.help_range, &QAction::triggered, this,
            [this] { on_help(st_.help.help_info_testrange, "Test range"); });
    help_labs_added_ = true;
  }
  // The mark always shows the true mode: an open turns the mode off.
  if (actions_.scale_to_max) actions_.scale_to_max->setChecked(st_.view.scale_to_max_mode == 1);
  const int type = st_.view.display_type;
  if (type >= DISPLAY_TYPE_POLAR && type <= DISPLAY_TYPE_EMR)
    for (int i = 0; i < 4; ++i) actions_.views[i]->setChecked(i + DISPLAY_TYPE_POLAR == type);
}

}  // namespace lobe
