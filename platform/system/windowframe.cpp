#include "platform/system/windowframe.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace quillet::system {

namespace {

constexpr int kPollMs = 5;

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t *connection()
{
    if (!qGuiApp)
        return nullptr;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
    return screen.rem ? screen.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

bool managerSupports(xcb_connection_t *c, xcb_atom_t feature)
{
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || feature == XCB_ATOM_NONE)
        return false;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootOf(c), supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == feature)
            return true;
    }
    return false;
}

std::optional<QMargins> extentsOf(xcb_connection_t *c, xcb_window_t window)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, atom(c, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4 * 4)
        return std::nullopt;
    const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    // The property lists left, right, top, bottom.
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

// The child of the root that holds the window: the manager's frame, or the window itself.
xcb_window_t topLevelOf(xcb_connection_t *c, xcb_window_t window, xcb_window_t root)
{
    for (int depth = 0; depth < 16; ++depth) {
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr));
        if (!tree)
            return XCB_WINDOW_NONE;
        if (tree->parent == root)
            return window;
        window = tree->parent;
    }
    return XCB_WINDOW_NONE;
}

// Whether a mapped window stacked above `top` overlaps the area.
bool coveredAbove(xcb_connection_t *c, xcb_window_t root, xcb_window_t top, const QRect &area)
{
    const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return true;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    bool above = false;
    for (int i = 0; i < count; ++i) { // bottom to top
        if (children[i] == top) {
            above = true;
            continue;
        }
        if (!above)
            continue;
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE
            || attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
            continue;
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(c, xcb_get_geometry(c, children[i]), nullptr));
        if (!geometry)
            return true;
        const int border = geometry->border_width;
        const QRect rect(
            geometry->x, geometry->y, geometry->width + 2 * border, geometry->height + 2 * border);
        if (rect.intersects(area))
            return true;
    }
    return !above;
}

} // namespace

std::optional<QMargins> WindowFrame::announced(const QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window || !window->handle())
        return std::nullopt;
    return extentsOf(c, xcb_window_t(window->winId()));
}

std::optional<QMargins> WindowFrame::requestBeforeMapping(QWindow *window, int timeoutMs)
{
    xcb_connection_t *c = connection();
    if (!c || !window)
        return std::nullopt;
    window->create();
    const xcb_window_t id = xcb_window_t(window->winId());
    if (std::optional<QMargins> known = extentsOf(c, id))
        return known;
    const xcb_atom_t request = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (!managerSupports(c, request))
        return std::nullopt;
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = request;
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
        reinterpret_cast<const char *>(&event));
    xcb_flush(c);
    // The answer is a property on the window; Qt's event queue need not run for it.
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        if (std::optional<QMargins> extents = extentsOf(c, id))
            return extents;
        QThread::msleep(kPollMs);
    }
    return std::nullopt;
}

QImage WindowFrame::grabFramed(QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window || !window->handle() || !window->isExposed())
        return {};
    const xcb_window_t id = xcb_window_t(window->winId());
    const std::optional<QMargins> frame = extentsOf(c, id);
    if (!frame)
        return {};
    const xcb_window_t root = rootOf(c);
    const Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr));
    const Reply<xcb_get_geometry_reply_t> client(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
    if (!origin || !client)
        return {};
    const QRect area = QRect(origin->dst_x, origin->dst_y, client->width, client->height) + *frame;
    QScreen *screen = window->screen();
    if (!screen || !screen->geometry().contains(area) || coveredAbove(c, root, topLevelOf(c, id, root), area))
        return {};
    const QImage picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    if (picture.size() != area.size())
        return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace quillet::system
