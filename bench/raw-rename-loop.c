/* The physical limit of renaming a folder of files: list the folder once, then
 * one renameat2(RENAME_NOREPLACE) per file, to the name with a number in front
 * and lower-cased (what the benchmark's chain does, without any of its work).
 * Usage: raw-rename-loop FOLDER
 *        raw-rename-loop --make COUNT FOLDER   (makes the benchmark's empty files,
 *                                               "Holiday Photo 000001.JPG" and on) */
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int makeFiles(long count, const char* path) {
    int folder = open(path, O_RDONLY | O_DIRECTORY);
    if (folder < 0) {
        perror(path);
        return 1;
    }
    for (long i = 1; i <= count; ++i) {
        char name[64];
        snprintf(name, sizeof name, "Holiday Photo %06ld.JPG", i);
        int fd = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            perror(name);
            return 1;
        }
        close(fd);
    }
    close(folder);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "--make") == 0)
        return makeFiles(atol(argv[2]), argv[3]);
    if (argc != 2) {
        fprintf(stderr, "usage: %s FOLDER | --make COUNT FOLDER\n", argv[0]);
        return 2;
    }
    int folder = open(argv[1], O_RDONLY | O_DIRECTORY);
    DIR* dir = folder < 0 ? NULL : fdopendir(dup(folder));
    if (!dir) {
        perror(argv[1]);
        return 1;
    }
    size_t count = 0, capacity = 1024;
    char** names = malloc(capacity * sizeof *names);
    for (struct dirent* entry; (entry = readdir(dir));) {
        if (entry->d_name[0] == '.')
            continue;
        if (count == capacity)
            names = realloc(names, (capacity *= 2) * sizeof *names);
        names[count++] = strdup(entry->d_name);
    }
    closedir(dir);
    int failed = 0;
    for (size_t i = 0; i < count; ++i) {
        char target[4096];
        int n = snprintf(target, sizeof target, "%06zu", i + 1);
        for (const char* c = names[i]; *c && n < (int)sizeof target - 1; ++c)
            target[n++] = (char)tolower((unsigned char)*c);
        target[n] = '\0';
        if (renameat2(folder, names[i], folder, target, RENAME_NOREPLACE) != 0)
            ++failed;
        free(names[i]);
    }
    free(names);
    close(folder);
    printf("%zu renamed, %d failed\n", count - (size_t)failed, failed);
    return failed ? 1 : 0;
}
