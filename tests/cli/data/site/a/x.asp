<%
Dim xa
%>
