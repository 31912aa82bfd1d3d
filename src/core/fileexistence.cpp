// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileexistence.h"

#include <filesystem>
#include <system_error>

FileExistence FileExistence::of(const QString& path)
{
    FileExistence result;
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(path.toStdU16String()), error);
    if (status.type() == std::filesystem::file_type::none)
        result.error = QString::fromStdString(error.message());
    else
        result.exists = std::filesystem::exists(status);
    return result;
}
