#!/usr/bin/python3
"""Parses a style sheet with tinycss2 and prints, as JSON, its parse errors, every url()
it names, and every image-set() as a list of [url, type, density] entries.

usage: kitcss.py FILE.css
"""
import json, sys
import tinycss2


def walk(tokens, found):
    for token in tokens or ():
        if token.type == 'error':
            found['errors'].append('%d:%d %s' % (token.source_line, token.source_column, token.message))
        elif token.type == 'url':
            found['urls'].append(token.value)
        elif token.type == 'function':
            if token.lower_name == 'url':
                found['urls'].extend(t.value for t in token.arguments if t.type == 'string')
            if token.lower_name == 'image-set':
                entries, entry = [], {}
                for t in token.arguments:
                    if t.type == 'function' and t.lower_name == 'url':
                        entry['url'] = ''.join(a.value for a in t.arguments if a.type == 'string')
                    elif t.type == 'function' and t.lower_name == 'type':
                        entry['type'] = ''.join(a.value for a in t.arguments if a.type == 'string')
                    elif t.type == 'dimension':
                        entry['density'] = t.value
                    elif t.type == 'literal' and t.value == ',':
                        entries.append(entry)
                        entry = {}
                entries.append(entry)
                found['imageSets'].append(entries)
            walk(token.arguments, found)
        elif token.type in ('() block', '[] block', '{} block', 'qualified-rule', 'at-rule'):
            walk(getattr(token, 'prelude', None), found)
            walk(token.content, found)
        elif token.type == 'declaration':
            walk(token.value, found)


def main():
    with open(sys.argv[1], encoding='utf-8') as f:
        rules = tinycss2.parse_stylesheet(f.read(), skip_comments=True, skip_whitespace=True)
    found = {'errors': [], 'urls': [], 'imageSets': []}
    def rule_list(rules):
        for rule in rules:
            if rule.type == 'error':
                found['errors'].append('%d:%d %s' % (rule.source_line, rule.source_column, rule.message))
            elif rule.type == 'at-rule':
                walk(rule.prelude, found)
                rule_list(tinycss2.parse_rule_list(rule.content or [], skip_comments=True, skip_whitespace=True))
            elif rule.type == 'qualified-rule':
                walk(rule.prelude, found)
                # Declarations are parsed as a browser parses them, so a broken one shows.
                for item in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
                    if item.type == 'error':
                        found['errors'].append('%d:%d %s' % (item.source_line, item.source_column, item.message))
                    elif item.type == 'declaration':
                        walk(item.value, found)
                    else:
                        found['errors'].append('unexpected %s inside a rule' % item.type)
    rule_list(rules)
    json.dump(found, sys.stdout)


if __name__ == '__main__':
    main()
