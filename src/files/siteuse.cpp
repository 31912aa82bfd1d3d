// SPDX-License-Identifier: GPL-3.0-or-later
#include "siteuse.h"

#include "core/linksession.h"
#include "form/form1context.h"
#include "link/connection.h"
#include "link/modemsettings.h"
#include "store/site.h"

#include <QLineEdit>

bool useSite(Form1Context& ctx, Connection& connection, const Site& site)
{
    if (ctx.session.isOpen()) {
        ctx.tellWithTitle(QStringLiteral("The site \"%1\" cannot be used while the comm port is open.\n"
                                         "Please disconnect first.")
                              .arg(site.name));
        return false;
    }
    connection.Option_Click(site.port);
    ctx.ui.Text2->setText(site.phone);
    ctx.modem.storeSetupString(site.setup);
    ctx.setSiteInUse(site.name, {site.port, site.phone, site.setup});
    return true;
}
