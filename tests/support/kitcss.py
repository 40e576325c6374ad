#!/usr/bin/python3
"""Parses a style sheet with tinycss2 and prints, as JSON, its parse errors, every url()
it names, and every image-set() as a list of {url, type, density} entries.

usage: kitcss.py FILE.css
"""
import json, sys
import tinycss2

found = {'errors': [], 'urls': [], 'imageSets': []}


def strings(tokens):
    return ''.join(t.value for t in tokens if t.type == 'string')


def walk(tokens):
    for token in tokens or ():
        if token.type == 'error':
            found['errors'].append('%d:%d %s' % (token.source_line, token.source_column, token.message))
        elif token.type == 'url':
            found['urls'].append(token.value)
        elif token.type == 'function' and token.lower_name == 'url':
            found['urls'].append(strings(token.arguments))
        elif token.type == 'function' and token.lower_name == 'image-set':
            entries = [{}]
            for t in token.arguments:
                if t.type == 'function' and t.lower_name in ('url', 'type'):
                    entries[-1][t.lower_name] = strings(t.arguments)
                elif t.type == 'dimension':
                    entries[-1]['density'] = t.value
                elif t.type == 'literal' and t.value == ',':
                    entries.append({})
            found['imageSets'].append(entries)
            walk(token.arguments)
        elif token.type in ('function', '() block', '[] block', '{} block'):
            walk(token.arguments if token.type == 'function' else token.content)


def rules(items):
    for rule in items:
        if rule.type == 'error':
            walk([rule])
        elif rule.type == 'at-rule':
            walk(rule.prelude)
            rules(tinycss2.parse_rule_list(rule.content or [], skip_comments=True, skip_whitespace=True))
        elif rule.type == 'qualified-rule':
            walk(rule.prelude)
            # Declarations are parsed as a browser parses them, so a broken one shows.
            for item in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
                if item.type == 'declaration':
                    walk(item.value)
                elif item.type == 'error':
                    walk([item])
                else:
                    found['errors'].append('unexpected %s inside a rule' % item.type)


with open(sys.argv[1], encoding='utf-8') as f:
    rules(tinycss2.parse_stylesheet(f.read(), skip_comments=True, skip_whitespace=True))
json.dump(found, sys.stdout)
