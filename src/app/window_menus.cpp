// The menus built at run time: Envelopes, Com port, Labs and the test-range
// help, and the check marks that follow the program's state.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "core/text/c_numeric.h"
#include "core/record/cut_editing.h"

namespace lobe {

void main_window::mainwindow_menus() {
  auto add = [this](QMenu* menu, const QString& text, int id, bool checkable) {
    QAction* a = menu->addAction(text);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = a;
    return a;
  };
  if (ws_.env_file_open && !env_menu_built_) {
    QMenu* env = menuBar()->addMenu(QStringLiteral("Envelopes"));
    // The menu has ids for 30 envelopes; later ones would take the Com port ids.
    const int n = std::min(st_.ed.numenv, ID_ENV_LIMIT - ID_ENV_1);
    for (int e = 0; e < n; ++e)
      add(env, QString::fromLatin1(st_.ed.env[e].title), ID_ENV_1 + e, true)->setChecked(st_.ed.env[e].display != 0);
    env_menu_built_ = true;
  }
  if (st_.range.capture_enabled && !ws_.com_ports.empty() && !com_menu_built_) {
    QMenu* com = menuBar()->addMenu(QStringLiteral("Com port"));
    const int n = std::min<int>(static_cast<int>(ws_.com_ports.size()), ID_COM_LIMIT - ID_COM_1);
    for (int p = 0; p < n; ++p) {
      const int prov = p < static_cast<int>(ws_.com_ports_prov.size()) ? ws_.com_ports_prov[static_cast<std::size_t>(p)] : 0;
      add(com, QString::fromStdString(c_format("COM%u [0x%2X]", static_cast<unsigned>(ws_.com_ports[static_cast<std::size_t>(p)]),
                                               static_cast<unsigned>(prov))),
          ID_COM_1 + p, true)
          ->setChecked(p == ws_.current_com_port);
    }
    com_menu_built_ = true;
  }
  const bool full = full_mode();
  if (full && !labs_menu_built_) {
    QMenu* labs = menuBar()->addMenu(QStringLiteral("Labs"));
    add(labs, QStringLiteral("Scale all to strongest signal"), ID_LABS_SCALE_TO_MAX, true);
    add(labs, QStringLiteral("Mirror top to bottom"), ID_LABS_MIRROR_TOP, false);
    add(labs, QStringLiteral("Mirror right to left"), ID_LABS_MIRROR_RIGHT, false);
    add(labs, QStringLiteral("Mirror bottom to top"), ID_LABS_MIRROR_BOTTOM, false);
    add(labs, QStringLiteral("Mirror left to right"), ID_LABS_MIRROR_LEFT, false);
    add(labs, QStringLiteral("Reset default graph colours"), ID_LABS_RESET_COLOURS, false);
    add(labs, QStringLiteral("Set DSA IP address"), ID_LABS_SET_DSA_IP, false);
    labs_menu_built_ = true;
  }
  if (full && !help_labs_added_) {
    add(help_menu_, QStringLiteral("Test Range"), ID_HELP_LABS, false);
    help_labs_added_ = true;
  }
  // The mark always shows the true mode: an open turns the mode off.
  if (QAction* a = menu_action(ID_LABS_SCALE_TO_MAX)) a->setChecked(st_.view.scale_to_max_mode == 1);
  const int views[] = {ID_VIEW_POLAR, ID_VIEW_CART, ID_VIEW_CART90, ID_VIEW_EMR};
  const int type = st_.view.display_type;
  if (type >= DISPLAY_TYPE_POLAR && type <= DISPLAY_TYPE_EMR)
    for (int i = 0; i < 4; ++i)
      if (QAction* a = menu_action(views[i])) a->setChecked(i + 1 == type);
}

}  // namespace lobe
